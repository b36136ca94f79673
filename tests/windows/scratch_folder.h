#pragma once

#include <filesystem>
#include <string>

// A fresh folder in the Windows temporary folder, removed with everything in it at the end.
// Its paths are UTF-8 texts with drive letter and backslashes, as the platform layer takes them.
namespace rv::test {

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder itself, without a trailing backslash, such as C:\users\me\Temp\rv-12-3.
    const std::string& Path() const { return path_; }
    // Path() + "\" + relative, with any "/" in relative turned into "\".
    std::string Under(const std::string& relative) const;

    void MakeFolder(const std::string& relative) const;
    // Makes the folders the file needs.
    void WriteFile(const std::string& relative, const std::string& content) const;

private:
    std::string path_;
};

// A UTF-8 path for the standard library's file calls, which take wide paths on Windows.
std::filesystem::path Native(const std::string& utf8);
std::string ReadWholeFile(const std::string& utf8_path);

}  // namespace rv::test
