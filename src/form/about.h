// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace rv {

// The box of the context menu's "About..." entry: the program's name, its version and its
// licence.
inline constexpr std::string_view kAboutTitle = "About";
std::string AboutText();

}  // namespace rv
