// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace rv::platform {

// A folder named on the command line as an absolute path, so that it means the same folder when
// a receipt is read later from elsewhere. Relative paths are taken against the working folder as
// the system takes them, "." and ".." are worked out, and separators at the end are dropped (a
// root's is kept). On Windows: UNC paths (\\server\share\...) and \\?\ paths stay what they are,
// a drive-relative C:foo is taken against that drive's working folder, and '/' becomes '\'. On
// Linux a drive-letter path (C:\Games\RV2004, as the program prints a game folder found in a Wine
// prefix) is kept as given: it is resolved through the prefix wherever it is opened.
std::string AbsolutePath(const std::string& path);

}  // namespace rv::platform
