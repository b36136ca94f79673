// SPDX-License-Identifier: MIT
#include <windows.h>

#include <array>
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

}  // namespace

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

bool ReadPieces(const std::string& path, const std::function<void(std::span<const char>)>& take) {
    const std::optional<std::wstring> wide = WideFromUtf8(path);
    if (!wide) {
        return false;
    }
    const KernelHandle file(CreateFileW(wide->c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) {
        return false;
    }
    std::array<char, 1 << 16> buffer;
    DWORD got = 0;
    while (ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
        if (got == 0) {
            return true;
        }
        take(std::span<const char>(buffer.data(), got));
    }
    return false;
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
