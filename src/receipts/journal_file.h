// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

namespace rv {

// A file a write pass appends its journal to, line by line. Each line is handed to the system
// at once, so it outlives the process however that ends; Sync makes it outlive the machine.
class JournalFile {
public:
    // Creates the file, which must not exist yet; Problem() says why it could not.
    explicit JournalFile(const std::string& path);
    ~JournalFile();
    JournalFile(const JournalFile&) = delete;
    JournalFile& operator=(const JournalFile&) = delete;

    const std::string& Problem() const { return problem_; }
    // Empty, or why the line could not be written whole.
    std::string Append(const std::string& line);
    std::string Sync();

private:
    struct Handle;
    std::unique_ptr<Handle> handle_;
    std::string problem_;
};

}  // namespace rv
