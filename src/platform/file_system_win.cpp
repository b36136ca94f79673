// SPDX-License-Identifier: MIT
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cwctype>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/owned_win.h"
#include "platform/wide_text_win.h"
#include "text/text.h"

namespace rv::platform {
namespace {

// Below this length every Win32 call takes a path as it is; above it (MAX_PATH less room for a
// file name in a folder) the path gets the "\\?\" form, which lifts the limit but is taken
// literally, so it is made absolute and normalised first.
constexpr std::size_t kLongPathThreshold = 248;

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// The path as Windows' wide calls take it; empty when the text is not valid UTF-8.
std::optional<std::wstring> SystemPath(const std::string& path) {
    std::optional<std::wstring> wide = WideFromUtf8(path);
    if (!wide || wide->size() < kLongPathThreshold || wide->starts_with(L"\\\\?\\")) {
        return wide;
    }
    const DWORD needed = GetFullPathNameW(wide->c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return wide;
    }
    std::wstring full(needed, L'\0');
    const DWORD written = GetFullPathNameW(wide->c_str(), needed, full.data(), nullptr);
    if (written == 0 || written >= needed) {
        return wide;
    }
    full.resize(written);
    if (full.starts_with(L"\\\\")) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return L"\\\\?\\" + full;
}

DWORD Attributes(const std::wstring& system_path) {
    return GetFileAttributesW(system_path.c_str());
}

bool IsFolder(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Volume serial number and file index name a folder uniquely while it exists. Where they cannot
// be read, a number no real folder has is handed out, so the folder is never taken for another.
FolderId IdentifyFolder(const std::wstring& system_path) {
    const KernelHandle folder(CreateFileW(system_path.c_str(), FILE_READ_ATTRIBUTES,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                          nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = folder.valid() && GetFileInformationByHandle(folder.get(), &info) != 0;
    if (known) {
        return {info.dwVolumeSerialNumber,
                (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    }
    static std::atomic<std::uint64_t> unknown_folders{0};
    return {UINT64_MAX, ++unknown_folders};
}

std::wstring FolderOf(const std::wstring& path) {
    const std::size_t cut = path.find_last_of(L"\\/");
    if (cut == std::wstring::npos) {
        return L".";
    }
    // "C:\x" lives in "C:\", not in "C:", which would mean the drive's current folder.
    if (cut == 0 || (cut == 2 && path[1] == L':')) {
        return path.substr(0, cut + 1);
    }
    return path.substr(0, cut);
}

std::wstring Joined(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && IsSeparator(folder.back())) {
        return folder + name;
    }
    return folder + L"\\" + name;
}

void RemoveTemporary(const std::wstring& path) {
    // A copy takes over the source's attributes; a read-only temporary could not be deleted.
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

std::string SystemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length > 0 && text != nullptr ? std::wstring(text, length) : L"";
    LocalFree(text);
    while (!message.empty() && (std::iswspace(message.back()) != 0 || message.back() == L'.')) {
        message.pop_back();
    }
    std::string reason = "the copy failed";
    if (!message.empty()) {
        reason += ": " + Utf8FromWide(message);
    }
    return reason + " (Windows error " + std::to_string(error) + ")";
}

CopyResult SourceFailure(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return {CopyOutcome::SourceUnreadable, "the add-on file is gone"};
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return {CopyOutcome::SourceUnreadable, "another program has locked the add-on file"};
        case ERROR_ACCESS_DENIED:
            return {CopyOutcome::SourceUnreadable, "the add-on file cannot be read"};
        default:
            return {CopyOutcome::SourceUnreadable,
                    "the add-on file cannot be read: " + SystemMessage(error)};
    }
}

// The size and last write time of a file, to tell whether it changed between two looks.
std::optional<WIN32_FILE_ATTRIBUTE_DATA> Stamp(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) == 0) {
        return std::nullopt;
    }
    return data;
}

bool SameSize(const WIN32_FILE_ATTRIBUTE_DATA& a, const WIN32_FILE_ATTRIBUTE_DATA& b) {
    return a.nFileSizeHigh == b.nFileSizeHigh && a.nFileSizeLow == b.nFileSizeLow;
}

bool SameSizeAndTime(const WIN32_FILE_ATTRIBUTE_DATA& a, const WIN32_FILE_ATTRIBUTE_DATA& b) {
    return SameSize(a, b) && CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0;
}

// Called by the copy before it starts and after every chunk.
DWORD CALLBACK AskBetweenChunks(LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, DWORD,
                                DWORD, HANDLE, HANDLE, LPVOID keep_copying) {
    const KeepCopying& keep = *static_cast<const KeepCopying*>(keep_copying);
    return !keep || keep() ? PROGRESS_CONTINUE : PROGRESS_CANCEL;
}

// A failure while the temporary copy is written or moved into place. The source was readable
// and the folder was there just before, so a missing path means one of them went away.
CopyResult CopyFailure(DWORD error, const std::wstring& source, const std::wstring& folder) {
    switch (error) {
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return {CopyOutcome::NoSpace, "the game folder's disk is full"};
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            return {CopyOutcome::PermissionDenied, "the game sub-folder cannot be written"};
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return {CopyOutcome::SourceUnreadable, "another program has locked the add-on file"};
        case ERROR_FILENAME_EXCED_RANGE:
            return {CopyOutcome::Failed, "the destination path is too long"};
        case ERROR_REQUEST_ABORTED:
            return {CopyOutcome::Stopped, "the copy was stopped"};
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            if (!IsFolder(Attributes(folder))) {
                return {CopyOutcome::DestinationFolderMissing,
                        "the game sub-folder does not exist"};
            }
            if (Attributes(source) == INVALID_FILE_ATTRIBUTES) {
                return {CopyOutcome::SourceUnreadable, "the add-on file is gone"};
            }
            return {CopyOutcome::Failed, SystemMessage(error)};
        default:
            return {CopyOutcome::Failed, SystemMessage(error)};
    }
}

// Empty when the folder is there, else why the copy cannot go into it.
std::optional<CopyResult> FolderMissing(const std::wstring& folder) {
    const DWORD attributes = Attributes(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return CopyResult{CopyOutcome::DestinationFolderMissing,
                          "the game sub-folder does not exist"};
    }
    if (!IsFolder(attributes)) {
        return CopyResult{CopyOutcome::DestinationFolderMissing,
                          "the game sub-folder is a file, not a folder"};
    }
    return std::nullopt;
}

// Copies the source into a new file of our own in the folder and sets `temporary` to its path.
// Empty when copied, else the failure; nothing is left behind then.
std::optional<CopyResult> CopyToTemporary(const std::wstring& source, const std::wstring& folder,
                                          const KeepCopying& keep_copying,
                                          std::wstring& temporary) {
    static std::atomic<unsigned> copies{0};
    for (int attempt = 0;; ++attempt) {
        temporary = Joined(folder, L"~rv-copy-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                       std::to_wstring(++copies) + L".tmp");
        // CopyFileExW keeps the content, the attributes and the modification time.
        if (CopyFileExW(source.c_str(), temporary.c_str(), AskBetweenChunks,
                        const_cast<KeepCopying*>(&keep_copying), nullptr,
                        COPY_FILE_FAIL_IF_EXISTS) != 0) {
            return std::nullopt;
        }
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
            // Someone else's file under that name: leave it and pick another.
            if (attempt < 100) {
                continue;
            }
            return CopyResult{CopyOutcome::Failed, "no free temporary name in the game sub-folder"};
        }
        RemoveTemporary(temporary);
        return CopyFailure(error, source, folder);
    }
}

// Why the finished copy could not take the destination name.
CopyResult MoveFailure(DWORD error, const std::wstring& source, const std::wstring& destination) {
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ||
        Attributes(destination) != INVALID_FILE_ATTRIBUTES) {
        return {CopyOutcome::DestinationExists,
                "something is already at the destination; it was left untouched"};
    }
    return CopyFailure(error, source, FolderOf(destination));
}

// The id of the process that wrote the temporary of that name ("~rv-copy-<id>-<n>.tmp"); 0 when
// the name is not one of ours.
DWORD WriterOfTemporary(std::wstring_view name) {
    constexpr std::wstring_view kPrefix = L"~rv-copy-", kSuffix = L".tmp";
    if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) {
        return 0;
    }
    name = name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
    const std::size_t dash = name.find(L'-');
    const auto all_digits = [](std::wstring_view digits) {
        return !digits.empty() && digits.size() <= 10 &&
               std::all_of(digits.begin(), digits.end(),
                           [](wchar_t c) { return c >= L'0' && c <= L'9'; });
    };
    if (dash == std::wstring_view::npos || !all_digits(name.substr(0, dash)) ||
        !all_digits(name.substr(dash + 1))) {
        return 0;
    }
    const unsigned long long id = std::stoull(std::wstring(name.substr(0, dash)));
    return id <= MAXDWORD ? static_cast<DWORD>(id) : 0;
}

bool ProcessIsGone(DWORD id) {
    const KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, id));
    if (!process.valid()) {
        return GetLastError() == ERROR_INVALID_PARAMETER;  // no process has that id
    }
    return WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
}

}  // namespace

DestinationFoldersKept::DestinationFoldersKept() = default;
DestinationFoldersKept::~DestinationFoldersKept() = default;

void RemoveStaleTemporaries(const std::string& folder) {
    const std::optional<std::wstring> wide = SystemPath(folder);
    if (!wide) {
        return;
    }
    WIN32_FIND_DATAW found{};
    const SearchHandle search(FindFirstFileW(Joined(*wide, L"~rv-copy-*.tmp").c_str(), &found));
    if (!search.valid()) {
        return;
    }
    do {
        const DWORD writer = WriterOfTemporary(found.cFileName);
        const bool plain_file = (found.dwFileAttributes &
                                 (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
        if (writer != 0 && writer != GetCurrentProcessId() && plain_file && ProcessIsGone(writer)) {
            RemoveTemporary(Joined(*wide, found.cFileName));
        }
    } while (FindNextFileW(search.get(), &found) != 0);
}

std::optional<FolderListing> ListFolder(const std::string& folder, std::string* why) {
    const auto fail = [why](std::string reason) -> std::optional<FolderListing> {
        if (why != nullptr) {
            *why = std::move(reason);
        }
        return std::nullopt;
    };
    // An empty folder would list the root of the current drive: never what a caller meant.
    if (folder.empty()) {
        return fail("the folder has no name");
    }
    const std::optional<std::wstring> wide_folder = SystemPath(folder);
    const bool ends_with_separator = folder.back() == '\\' || folder.back() == '/';
    const std::optional<std::wstring> pattern =
        SystemPath(folder + (ends_with_separator ? "*" : "\\*"));
    if (!wide_folder || !pattern) {
        return fail("the path is not valid UTF-8");
    }

    FolderListing listing;
    WIN32_FIND_DATAW found{};
    const SearchHandle search(FindFirstFileW(pattern->c_str(), &found));
    if (!search.valid()) {
        // Only the root of an empty drive lists nothing at all, not even "." and "..".
        const DWORD error = GetLastError();
        if (error == ERROR_FILENAME_EXCED_RANGE) {
            return fail("the path is too long for the system");
        }
        if (error != ERROR_FILE_NOT_FOUND || !IsFolder(Attributes(*wide_folder))) {
            return fail("the folder cannot be listed (Windows error " + std::to_string(error) +
                        ")");
        }
    } else {
        do {
            const std::wstring_view name(found.cFileName);
            if (name == L"." || name == L"..") {
                continue;
            }
            listing.entries.push_back(
                {Utf8FromWide(name), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                 (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
        } while (FindNextFileW(search.get(), &found) != 0);
        // Any end but ERROR_NO_MORE_FILES means the folder went away mid-listing; what was
        // listed until then is still real.
    }
    listing.id = IdentifyFolder(*wide_folder);
    std::sort(listing.entries.begin(), listing.entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) {
                  return text::ListedBefore(a.name, b.name);
              });
    return listing;
}

std::optional<std::string> RealPath(const std::string& path) {
    const std::optional<std::wstring> wide = SystemPath(path);
    if (path.empty() || !wide) {
        return std::nullopt;
    }
    const KernelHandle opened(
        CreateFileW(wide->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!opened.valid()) {
        return std::nullopt;
    }
    std::wstring real(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(
            opened.get(), real.data(), static_cast<DWORD>(real.size()), FILE_NAME_NORMALIZED);
        if (length == 0) {
            return std::nullopt;
        }
        if (length < real.size()) {
            real.resize(length);
            return Utf8FromWide(real);
        }
        real.resize(length);
    }
}

bool PathExists(const std::string& path) {
    const std::optional<std::wstring> wide = SystemPath(path);
    if (path.empty() || !wide) {
        return false;
    }
    // GetFileAttributesW does not follow links, so a dangling one counts as present.
    if (Attributes(*wide) != INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    // Some files in use (a page file, a locked hive) refuse their attributes but are listed.
    const DWORD error = GetLastError();
    if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) ||
        wide->find_first_of(L"*?") != std::wstring::npos) {
        return false;
    }
    WIN32_FIND_DATAW found{};
    return SearchHandle(FindFirstFileW(wide->c_str(), &found)).valid();
}

// The system copies on its own here: a watcher sees nothing, and the result says so.
CopyResult CopyNewFile(const std::string& source, const std::string& destination,
                       const KeepCopying& keep_copying, const ContentWatcher&) {
    const std::optional<std::wstring> wide_source = SystemPath(source);
    const std::optional<std::wstring> wide_destination = SystemPath(destination);
    if (!wide_source || !wide_destination) {
        return {CopyOutcome::Failed, "the path is not valid UTF-8"};
    }
    if (!KernelHandle(CreateFileW(wide_source->c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
             .valid()) {
        return SourceFailure(GetLastError());
    }
    const std::optional<WIN32_FILE_ATTRIBUTE_DATA> source_before = Stamp(*wide_source);
    const std::wstring folder = FolderOf(*wide_destination);
    if (std::optional<CopyResult> missing = FolderMissing(folder)) {
        return *std::move(missing);
    }
    // Copy under a name of our own in the destination folder, then rename it into place: the
    // rename never replaces, so whatever is at the destination, or appears there during the
    // copy, stays untouched, and a copy that fails midway leaves nothing under the real name.
    std::wstring temporary;
    if (std::optional<CopyResult> failed =
            CopyToTemporary(*wide_source, folder, keep_copying, temporary)) {
        return *std::move(failed);
    }
    // A source that was written to meanwhile may have been copied half old, half new.
    const std::optional<WIN32_FILE_ATTRIBUTE_DATA> source_after = Stamp(*wide_source);
    const std::optional<WIN32_FILE_ATTRIBUTE_DATA> copied = Stamp(temporary);
    if (!source_before || !source_after || !copied || !SameSize(*copied, *source_before) ||
        !SameSizeAndTime(*source_after, *source_before)) {
        RemoveTemporary(temporary);
        return {CopyOutcome::SourceChanged, "the add-on file changed while it was copied"};
    }
    if (MoveFileExW(temporary.c_str(), wide_destination->c_str(), 0) == 0) {
        const DWORD error = GetLastError();
        RemoveTemporary(temporary);
        return MoveFailure(error, *wide_source, *wide_destination);
    }
    return {CopyOutcome::Copied, "", false, LookAt(destination)};
}

}  // namespace rv::platform
