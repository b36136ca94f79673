// SPDX-License-Identifier: MIT
#include <windows.h>

#include "platform/wide_text_win.h"
#include "receipts/journal_file.h"

namespace rv {

struct JournalFile::Handle {
    HANDLE file = INVALID_HANDLE_VALUE;
    ~Handle() {
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
        }
    }
};

JournalFile::JournalFile(const std::string& path) : handle_(std::make_unique<Handle>()) {
    const auto wide = platform::WideFromUtf8(path);
    if (wide) {
        handle_->file = CreateFileW(wide->c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    if (handle_->file == INVALID_HANDLE_VALUE) {
        problem_ = "cannot write " + path;
    }
}

JournalFile::~JournalFile() = default;

std::string JournalFile::Append(const std::string& line) {
    DWORD wrote = 0;
    if (!WriteFile(handle_->file, line.data(), static_cast<DWORD>(line.size()), &wrote, nullptr) ||
        wrote != line.size()) {
        return GetLastError() == ERROR_DISK_FULL ? "the disk is full"
                                                 : "the journal cannot be written";
    }
    return {};
}

std::string JournalFile::Sync() {
    return FlushFileBuffers(handle_->file) ? std::string() : "the journal cannot be flushed";
}

}  // namespace rv
