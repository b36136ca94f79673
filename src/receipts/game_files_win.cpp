// SPDX-License-Identifier: MIT
#include <windows.h>

#include <array>
#include <cstdio>
#include <utility>

#include "platform/wide_text_win.h"
#include "receipts/game_files.h"

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace rv {
namespace {

constexpr std::int64_t kFileTimeOf1970 = 116'444'736'000'000'000;

// Closes the handle when it goes.
class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    ~Handle() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    Handle(Handle&& other) noexcept : handle_(other.handle_) {
        other.handle_ = INVALID_HANDLE_VALUE;
    }
    Handle& operator=(Handle&& other) noexcept {
        std::swap(handle_, other.handle_);
        return *this;
    }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

std::string Why(DWORD error) {
    wchar_t text[256] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                   text, 255, nullptr);
    std::string why = platform::Utf8FromWide(text);
    while (!why.empty() && (why.back() == '\n' || why.back() == '\r' || why.back() == '.')) {
        why.pop_back();
    }
    return why;
}

// Opens the path itself, never what a reparse point leads to. Others may read it meanwhile but
// neither rename nor delete it, so that what is looked at stays where it was found.
Handle OpenItself(const std::string& path, DWORD access) {
    const auto wide = platform::WideFromUtf8(path);
    if (!wide) {
        SetLastError(ERROR_INVALID_NAME);
        return Handle();
    }
    return Handle(CreateFileW(wide->c_str(), access, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

std::string HashOf(HANDLE file) {
    XXH3_state_t state;
    XXH3_64bits_reset(&state);
    std::array<char, 1 << 16> buffer;
    DWORD got = 0;
    do {
        if (!ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
            return {};
        }
        XXH3_64bits_update(&state, buffer.data(), got);
    } while (got > 0);
    return HashHex(XXH3_64bits_digest(&state));
}

Looked LookAtOpened(HANDLE file, const ReceiptFile& wanted, Scrutiny scrutiny) {
    BY_HANDLE_FILE_INFORMATION facts{};
    if (!GetFileInformationByHandle(file, &facts)) {
        return {Look::CannotCheck, Why(GetLastError())};
    }
    const std::uint64_t size = (std::uint64_t(facts.nFileSizeHigh) << 32) | facts.nFileSizeLow;
    const std::int64_t steps =
        static_cast<std::int64_t>((std::uint64_t(facts.ftLastWriteTime.dwHighDateTime) << 32) |
                                  facts.ftLastWriteTime.dwLowDateTime);
    if ((facts.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0 ||
        size != wanted.size || (steps - kFileTimeOf1970) * 100 != wanted.modified_ns) {
        return {Look::Changed, {}};
    }
    if (scrutiny == Scrutiny::SizeAndTime) {
        return {Look::AsWritten, {}};
    }
    const std::string hash = HashOf(file);
    if (hash.empty()) {
        return {Look::CannotCheck, Why(GetLastError())};
    }
    return {hash == wanted.hash ? Look::AsWritten : Look::Changed, {}};
}

// Deletes the opened file itself, whatever its name is now.
Looked DeleteOpened(HANDLE file) {
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (!SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition)) {
        return {Look::CannotDelete, Why(GetLastError())};
    }
    return {Look::Deleted, {}};
}

// The attributes of the opened folder; 0 when they cannot be had.
DWORD AttributesOf(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION facts{};
    return GetFileInformationByHandle(handle, &facts) ? facts.dwFileAttributes : 0;
}

}  // namespace

struct GameFiles::Root {
    std::string path;
    Handle folder;
};

GameFiles::GameFiles(const GameIdentity& game) : root_(std::make_unique<Root>()) {
    root_->path = game.path;
    root_->folder = OpenItself(game.path, FILE_READ_ATTRIBUTES);
    BY_HANDLE_FILE_INFORMATION facts{};
    if (root_->folder.get() == INVALID_HANDLE_VALUE) {
        problem_ = "the game folder " + game.path + ": " + Why(GetLastError());
    } else if (game.Known() &&
               (!GetFileInformationByHandle(root_->folder.get(), &facts) ||
                facts.dwVolumeSerialNumber != game.device ||
                ((std::uint64_t(facts.nFileIndexHigh) << 32) | facts.nFileIndexLow) != game.node)) {
        problem_ = "the game folder " + game.path + " is not the one the add-on went into";
    }
}

GameFiles::~GameFiles() = default;

void GameFiles::RecheckFolders() {
    // Nothing to do: each file's folder is opened afresh, and held open until it is done with.
}

Looked GameFiles::LookBelow(const std::string& sub_folder, const std::string& name,
                            const ReceiptFile& file, Scrutiny scrutiny) const {
    // The sub-folder stays open, and so cannot be swapped, until the file is done with.
    const std::string folder_path = root_->path + "\\" + sub_folder;
    const Handle folder = OpenItself(folder_path, FILE_READ_ATTRIBUTES);
    if (folder.get() == INVALID_HANDLE_VALUE) {
        return {Look::CannotCheck, "the folder " + sub_folder + ": " + Why(GetLastError())};
    }
    const DWORD attributes = AttributesOf(folder.get());
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return {Look::Outside, {}};
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return {Look::CannotCheck, "the folder " + sub_folder + ": not a folder"};
    }
    const Handle opened =
        OpenItself(folder_path + "\\" + name, GENERIC_READ | DELETE | FILE_READ_ATTRIBUTES);
    if (opened.get() == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? Looked{Look::Gone, {}}
                                             : Looked{Look::CannotCheck, Why(error)};
    }
    Looked looked = LookAtOpened(opened.get(), file, scrutiny);
    if (looked.look == Look::AsWritten && scrutiny == Scrutiny::WholeThenDelete) {
        looked = DeleteOpened(opened.get());
    }
    return looked;
}

}  // namespace rv
