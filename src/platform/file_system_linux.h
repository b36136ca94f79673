// SPDX-License-Identifier: MIT
#pragma once

#include <sys/stat.h>

#include <string>

#include "platform/file_system.h"

// Linux-only detail of the copy, open to the tests so that both ways of creating the temporary
// file are exercised on any file system.
namespace rv::platform::posix {

enum class Temporary {
    Anonymous,  // O_TMPFILE, linked into place; falls back to Named where unsupported
    Named,      // a hidden file in the destination folder, renamed into place
};

// The facts of a regular file from its status.
FileFacts RegularFileFacts(const struct stat& status);

// The reason followed by the system's words for the error, in parentheses.
std::string WithCause(std::string reason, int error);

// The outcome and the words for a failure to write into the game's folder of that name.
CopyResult WriteFailure(int error, const std::string& folder_name);

CopyResult CopyNewFileUsing(Temporary temporary, const std::string& source,
                            const std::string& destination, const KeepCopying& keep_copying = {},
                            const ContentWatcher& watcher = {});

}  // namespace rv::platform::posix
