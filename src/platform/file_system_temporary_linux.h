// SPDX-License-Identifier: MIT
#pragma once

#include <sys/types.h>

#include <string>

#include "platform/file_system_linux.h"
#include "platform/owned_posix.h"

// The files a copy is written into before it takes the destination name, and the clean-up of
// those a process left behind.
namespace rv::platform::posix {

// How a finished temporary takes the destination name without ever replacing a file there, the
// first that the folder's file system allows. Each is tried once per folder, then remembered.
enum class Publishing {
    NoReplaceRename,  // renameat2 with RENAME_NOREPLACE
    Link,             // a hard link under the name, then the temporary name removed
    // The name reserved by creating it empty and exclusively, then the temporary renamed over
    // the reservation: for file systems without either (FAT and exFAT through FUSE). A crash
    // between the two leaves an empty reservation, which RemoveStaleTemporaries recognises.
    Reservation,
};

// A file being written in the destination folder, not yet visible under the destination name.
// Removed when it is not moved into place.
class TemporaryFile {
public:
    TemporaryFile(int folder_fd, mode_t mode, Temporary kind);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_.get(); }
    int error() const { return error_; }

    // Gives the file the destination name unless something has that name, by `way` or, where
    // the file system refuses it, by the next way, which `way` is set to. Returns 0 or the
    // error; EEXIST when the name is taken.
    int MoveIntoPlace(const std::string& name, Publishing& way);
    // Gives a named temporary the destination name, replacing whatever file has it. Returns 0 or
    // the error.
    int ReplaceInto(const std::string& name);
    // Closes a named temporary before it takes its name; returns 0 or the error of the close.
    int Close();

private:
    int LinkAnonymous(const std::string& name);
    int Reserve(const std::string& name);

    int folder_fd_;
    Descriptor fd_;
    int error_ = 0;
    std::string name_;  // empty for an anonymous file
};

}  // namespace rv::platform::posix
