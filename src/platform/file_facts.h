// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

// What the receipts need to know of a file in the game folder, and the one change they make
// there: removing a file this program wrote. Paths are as the workflow holds them (see
// file_system.h).
namespace rv::platform {

enum class EntryKind {
    Missing,
    RegularFile,
    Other,  // a link (never followed), a folder, a device
};

struct FileFacts {
    EntryKind kind = EntryKind::Missing;
    std::uint64_t size = 0;
    std::int64_t modified_ns = 0;  // nanoseconds since 1970-01-01 UTC
};

// Looks at the path itself: a link is reported as Other, whatever it points to.
FileFacts LookAt(const std::string& path);

// Whether the add-on file (a link followed) and the game's file (a link is not a file here) are
// both regular files of the same size and content. The content is read only when the sizes are
// equal, and only as far as the first difference.
bool SameContent(const std::string& addon_file, const std::string& game_file);

// A file read piece by piece as its reader asks for them, so that a reader that pulls (a parser)
// never holds the whole text. It opens what ReadPieces opens.
class PieceReader {
public:
    explicit PieceReader(const std::string& path);
    ~PieceReader();
    PieceReader(const PieceReader&) = delete;
    PieceReader& operator=(const PieceReader&) = delete;

    // Sets `piece` to the next piece, which the next call overwrites; empty at the end. False
    // when the file cannot be opened or read.
    bool Next(std::span<const char>& piece);

private:
    struct File;
    std::unique_ptr<File> file_;
    std::array<char, 1 << 16> buffer_;
};

// Hands the file's content to `take` piece by piece. False when it cannot be opened or read.
bool ReadPieces(const std::string& path, const std::function<void(std::span<const char>)>& take);

// Removes the file at the path; never a folder. Empty on success, else the reason in plain words.
std::string RemoveFile(const std::string& path);

}  // namespace rv::platform
