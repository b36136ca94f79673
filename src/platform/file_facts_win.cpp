// SPDX-License-Identifier: MIT
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "platform/file_facts.h"
#include "platform/owned_win.h"
#include "platform/wide_text_win.h"

namespace rv::platform {
namespace {

// FILETIME counts 100-nanosecond steps from 1601-01-01.
constexpr std::int64_t kFileTimeOf1970 = 116'444'736'000'000'000;

std::int64_t NanosecondsSince1970(FILETIME time) {
    const auto steps = static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) |
                                                 std::uint64_t{time.dwLowDateTime});
    return (steps - kFileTimeOf1970) * 100;
}

// Opens a regular file for reading; an invalid handle for anything else. Without `follow`, a
// link (any reparse point) is not a file here.
KernelHandle OpenRegularFile(const std::string& path, bool follow, std::uint64_t& size) {
    const std::optional<std::wstring> wide = WideFromUtf8(path);
    if (!wide) {
        return KernelHandle();
    }
    KernelHandle file(CreateFileW(
        wide->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING,
        FILE_FLAG_SEQUENTIAL_SCAN | (follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT), nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.valid() || !GetFileInformationByHandle(file.get(), &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        return KernelHandle();
    }
    size = (std::uint64_t{info.nFileSizeHigh} << 32) | std::uint64_t{info.nFileSizeLow};
    return file;
}

// Reads as much as is there up to the count; false when reading fails.
bool ReadFully(HANDLE file, char* buffer, DWORD count, DWORD& got) {
    got = 0;
    DWORD piece = 0;
    while (got < count && ReadFile(file, buffer + got, count - got, &piece, nullptr)) {
        if (piece == 0) {
            return true;
        }
        got += piece;
    }
    return got == count;
}

}  // namespace

bool SameContent(const std::string& addon_file, const std::string& game_file) {
    std::uint64_t addon_size = 0, game_size = 0;
    const KernelHandle addon = OpenRegularFile(addon_file, true, addon_size);
    if (!addon.valid()) {
        return false;
    }
    const KernelHandle game = OpenRegularFile(game_file, false, game_size);
    if (!game.valid() || addon_size != game_size) {
        return false;
    }
    std::array<char, 1 << 16> mine;
    std::array<char, 1 << 16> theirs;
    for (std::uint64_t left = addon_size; left > 0;) {
        const auto want = static_cast<DWORD>(std::min<std::uint64_t>(left, mine.size()));
        DWORD got = 0, got_too = 0;
        if (!ReadFully(addon.get(), mine.data(), want, got) || got == 0 ||
            !ReadFully(game.get(), theirs.data(), want, got_too) || got_too != got ||
            std::memcmp(mine.data(), theirs.data(), got) != 0) {
            return false;
        }
        left -= got;
    }
    return true;
}

FileFacts LookAt(const std::string& path) {
    const std::optional<std::wstring> wide = WideFromUtf8(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!wide || !GetFileAttributesExW(wide->c_str(), GetFileExInfoStandard, &data)) {
        return {};
    }
    if ((data.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        return {EntryKind::Other};
    }
    return {EntryKind::RegularFile,
            (std::uint64_t{data.nFileSizeHigh} << 32) | std::uint64_t{data.nFileSizeLow},
            NanosecondsSince1970(data.ftLastWriteTime)};
}

struct PieceReader::File {
    KernelHandle handle;
};

PieceReader::PieceReader(const std::string& path) : file_(std::make_unique<File>()) {
    if (const std::optional<std::wstring> wide = WideFromUtf8(path)) {
        file_->handle = KernelHandle(
            CreateFileW(wide->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    }
}

PieceReader::~PieceReader() = default;

bool PieceReader::Next(std::span<const char>& piece) {
    DWORD got = 0;
    if (!file_->handle.valid() || !ReadFile(file_->handle.get(), buffer_.data(),
                                            static_cast<DWORD>(buffer_.size()), &got, nullptr)) {
        return false;
    }
    piece = std::span<const char>(buffer_.data(), got);
    return true;
}

std::string RemoveFile(const std::string& path) {
    const std::optional<std::wstring> wide = WideFromUtf8(path);
    if (wide && DeleteFileW(wide->c_str())) {
        return {};
    }
    switch (wide ? GetLastError() : ERROR_FILE_NOT_FOUND) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return "it is gone";
        case ERROR_ACCESS_DENIED:
            return "permission denied";
        case ERROR_SHARING_VIOLATION:
            return "it is in use";
        default:
            return "Windows error " + std::to_string(GetLastError());
    }
}

}  // namespace rv::platform
