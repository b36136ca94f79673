// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>

namespace rv::platform {

struct FileText {
    int error = 0;  // 0, or the errno that kept the file from being read
    std::string text;
};

// Reads a whole regular file of at most limit bytes. Anything else (a folder, a pipe, a device,
// a larger file) is refused without waiting on it: EINVAL for not regular, EFBIG for too large.
FileText ReadRegularFile(const std::string& path, std::size_t limit);

}  // namespace rv::platform
