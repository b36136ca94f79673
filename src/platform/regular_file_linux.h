// SPDX-License-Identifier: MIT
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <string>

#include "platform/owned_posix.h"

namespace rv::platform {

// An open regular file and its status when it was opened.
struct RegularFile {
    Descriptor fd;
    struct stat info {};
};

enum class Links { Follow, Refuse };

// Opens the regular file at the path (as the system names it) for reading, without ever waiting
// on what is there: O_NONBLOCK keeps a pipe or a device from holding the open, O_NOFOLLOW
// refuses a link when asked, and anything but a regular file is closed again. The file's access
// time is left alone where the owner may ask so. Returns 0 or the error: EINVAL when the path
// holds no regular file, ELOOP for a refused link.
int OpenRegularFile(const std::string& path, Links links, RegularFile& file);

struct FileText {
    int error = 0;  // 0, or the errno that kept the file from being read
    std::string text;
};

// Reads a whole regular file of at most limit bytes. Anything else (a folder, a pipe, a device,
// a larger file) is refused without waiting on it: EINVAL for not regular, EFBIG for too large.
FileText ReadRegularFile(const std::string& path, std::size_t limit);

}  // namespace rv::platform
