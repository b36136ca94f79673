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

namespace {

// Removes a folder and everything in it, read-only files and paths past MAX_PATH included.
void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                RemoveTree(path);
            } else {
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &found) != 0);
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

ScratchFolder::~ScratchFolder() {
    RemoveTree(L"\\\\?\\" + Native(path_).wstring());
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
