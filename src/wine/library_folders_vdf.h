// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rv::wine {

// The library folders that a libraryfolders.vdf lists, in its order: every "path" value, and the
// numbered values of its outer block, the file's older form. None when the text is malformed.
std::vector<std::string> LibraryFolders(std::string_view vdf);

}  // namespace rv::wine
