#include "windows/scratch_folder.h"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace rv::test {

std::filesystem::path Native(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string ReadWholeFile(const std::string& utf8_path) {
    std::ifstream in(Native(utf8_path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ScratchFolder::ScratchFolder() {
    // Wine hands the same process ids out again, so a name is taken only once it proves new.
    static std::atomic<unsigned> made{0};
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    std::filesystem::path folder;
    do {
        folder = base / ("rv-" + std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(GetTickCount64()) + "-" + std::to_string(++made));
    } while (!std::filesystem::create_directory(folder));
    const std::u8string utf8 = folder.u8string();
    path_.assign(utf8.begin(), utf8.end());
}

ScratchFolder::~ScratchFolder() {
    // Read-only files would make the removal stop halfway.
    std::error_code ignored;
    for (const auto& item : std::filesystem::recursive_directory_iterator(Native(path_), ignored)) {
        SetFileAttributesW(item.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::filesystem::remove_all(Native(path_), ignored);
}

std::string ScratchFolder::Under(const std::string& relative) const {
    std::string path = path_ + "\\" + relative;
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

void ScratchFolder::MakeFolder(const std::string& relative) const {
    std::filesystem::create_directories(Native(Under(relative)));
}

void ScratchFolder::WriteFile(const std::string& relative, const std::string& content) const {
    std::filesystem::create_directories(Native(Under(relative)).parent_path());
    std::ofstream out(Native(Under(relative)), std::ios::binary);
    out << content;
    if (!out) {
        throw std::runtime_error("cannot write " + Under(relative));
    }
}

}  // namespace rv::test
