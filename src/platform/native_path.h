// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace rv::platform {

// Turns a path as the workflow holds it into one the operating system can open. On Windows it is
// returned unchanged. On Linux a drive-letter path such as C:\Games\RV2004 (from the registry of a
// Wine prefix) is resolved the way Wine resolves it; any other path is returned unchanged.
std::string ResolveNativePath(const std::string& path);

}  // namespace rv::platform
