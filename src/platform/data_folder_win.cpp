// SPDX-License-Identifier: MIT
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <random>

#include "platform/data_folder.h"
#include "platform/owned_win.h"
#include "platform/wide_text_win.h"

namespace rv::platform {
namespace {

std::string Reason(DWORD error) {
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) {
        return "the disk is full";
    }
    if (error == ERROR_ACCESS_DENIED) {
        return "permission denied";
    }
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
        return "already exists";
    }
    return "Windows error " + std::to_string(error);
}

// Creates the folder and its missing parents; 0 or the error.
DWORD MakeFolders(const std::wstring& folder) {
    for (std::size_t cut = folder.find(L'\\', 3);; cut = folder.find(L'\\', cut + 1)) {
        const std::wstring part = folder.substr(0, cut);
        if (!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            return GetLastError();
        }
        if (cut == std::wstring::npos) {
            return 0;
        }
    }
}

// Writes everything to the new file and flushes it to the disk; 0 or the error.
DWORD WriteAndFlush(const std::wstring& path, const ContentPieces& content) {
    const KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return GetLastError();
    }
    DWORD error = 0;
    for (std::string_view piece = content(); error == 0 && !piece.empty(); piece = content()) {
        while (error == 0 && !piece.empty()) {
            DWORD done = 0;
            const auto size = static_cast<DWORD>(std::min<std::size_t>(piece.size(), 1 << 20));
            if (!WriteFile(file.get(), piece.data(), size, &done, nullptr)) {
                error = GetLastError();
            }
            piece.remove_prefix(done);
        }
    }
    if (error == 0 && !FlushFileBuffers(file.get())) {
        error = GetLastError();
    }
    return error;
}

}  // namespace

std::string UserDataFolder() {
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    if (local == nullptr || local[0] == L'\0') {
        return {};
    }
    return Utf8FromWide(local) + "\\rv-addon-installer";
}

std::string WriteFileSafely(const std::string& folder, const std::string& name,
                            const ContentPieces& content, Existing existing) {
    const std::optional<std::wstring> wide_folder = WideFromUtf8(folder);
    const std::optional<std::wstring> wide_name = WideFromUtf8(name);
    if (!wide_folder || !wide_name) {
        return "the name " + folder + "\\" + name + " is not valid UTF-8";
    }
    if (const DWORD error = MakeFolders(*wide_folder)) {
        return "cannot create " + folder + ": " + Reason(error);
    }
    const std::wstring target = *wide_folder + L"\\" + *wide_name;
    const std::wstring temporary = *wide_folder + L"\\." + *wide_name + L"." +
                                   std::to_wstring(std::random_device{}()) + L".tmp";
    DWORD error = WriteAndFlush(temporary, content);
    const DWORD replace = existing == Existing::Replace ? MOVEFILE_REPLACE_EXISTING : 0;
    if (error == 0 &&
        !MoveFileExW(temporary.c_str(), target.c_str(), replace | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
    }
    if (error != 0) {
        DeleteFileW(temporary.c_str());
        return "cannot write " + name + ": " + Reason(error);
    }
    return {};
}

}  // namespace rv::platform
