// SPDX-License-Identifier: MIT
#include "platform/native_path.h"

namespace rv::platform {

// Drive letters and backslashes are Windows' own, so a path is opened as it stands.
std::string ResolveNativePath(const std::string& path) {
    return path;
}

}  // namespace rv::platform
