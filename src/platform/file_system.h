// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_facts.h"

// The file-system operations the passes are built from. Paths are byte strings: on Linux exactly
// the bytes the kernel uses (names that are not valid UTF-8 pass through unchanged), on Windows
// UTF-8 that the implementation converts to the wide-character API.
namespace rv::platform {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

struct FolderEntry {
    std::string name;
    bool is_folder = false;  // a link to a folder counts as a folder
    bool is_link = false;    // a symbolic link (on Windows any reparse point)
};

// Identity of a folder on its file system, so a walk can tell a link back to an ancestor.
struct FolderId {
    std::uint64_t device = 0;
    std::uint64_t node = 0;
    friend bool operator==(const FolderId&, const FolderId&) = default;
};

struct FolderListing {
    FolderId id;
    std::vector<FolderEntry> entries;  // every entry but "." and "..", hidden ones included
};

// Lists one folder. Empty when the folder cannot be opened (missing, unreadable, not a folder,
// a path too long for the system); then `why`, when given, says which in plain words.
std::optional<FolderListing> ListFolder(const std::string& folder, std::string* why = nullptr);

// The path with every link resolved, as the system names the place it leads to. Empty when it
// leads nowhere.
std::optional<std::string> RealPath(const std::string& path);

// Where the file's name starts in a path as an add-on names it: after the last '/' or '\' (an
// archive made on Windows and unpacked on Linux leaves '\' in names), and on Windows also after
// the last ':', where "D:name" names a file relative to a drive; on Linux ':' is an ordinary
// character of a name.
std::size_t NameStart(std::string_view path);

// True when anything is at the path: a file, a folder, or a link, a dangling one included.
bool PathExists(const std::string& path);

enum class CopyOutcome {
    Copied,
    DestinationExists,         // something is at the destination; it was left untouched
    DestinationFolderMissing,  // the folder the destination names does not exist
    SourceUnreadable,          // the source is gone or cannot be read
    SourceChanged,             // the source changed while it was copied
    NoSpace,                   // the destination's disk is full
    PermissionDenied,          // the destination folder cannot be written
    Stopped,                   // the caller asked to stop; nothing was left behind
    Failed,                    // any other failure; the reason says which
};

struct CopyResult {
    CopyOutcome outcome = CopyOutcome::Failed;
    std::string reason;  // plain words for the user; empty when copied
    // The watcher saw the whole content of the copy, in order. False where the system copies on
    // its own (Windows): the caller reads the copy to learn its content.
    bool watched = false;
    FileFacts copy = {};  // of a file copied: what it is as it takes the destination name
};

// Asked before a copy starts and between its chunks, a few megabytes apart; false stops the copy.
using KeepCopying = std::function<bool()>;
// Shown each piece of the content as the copy writes it, so the caller can hash what was written
// without reading the copy again.
using ContentWatcher = std::function<void(std::span<const char>)>;

// Copies a file to a destination where nothing exists. Never replaces or writes through anything
// at the destination, also when it appears during the copy; never leaves a partial file under
// the destination name; keeps the content and the modification time. A source whose size or
// modification time changes during the copy is not installed.
CopyResult CopyNewFile(const std::string& source, const std::string& destination,
                       const KeepCopying& keep_copying = {}, const ContentWatcher& watcher = {});

// While one lives, copies keep each destination folder open after its first use, so that a pass
// of many files opens each folder once, and remember that a folder's file system cannot share
// blocks; the folders are closed when the last one goes. A folder removed meanwhile is reported
// missing as before; one moved meanwhile still takes the copies. Does nothing on Windows, where
// the system opens the folder inside its copy.
class DestinationFoldersKept {
public:
    DestinationFoldersKept();
    ~DestinationFoldersKept();
    DestinationFoldersKept(const DestinationFoldersKept&) = delete;
    DestinationFoldersKept& operator=(const DestinationFoldersKept&) = delete;
};

// Removes the unfinished copies that a copy of this program left in the folder when its process
// ended before it could remove them (killed, or the machine went down). Nothing else is touched.
void RemoveStaleTemporaries(const std::string& folder);

}  // namespace rv::platform
