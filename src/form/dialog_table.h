// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace rv {

// One row of a dialog's table: each cell's text as shown, names escaped as text::ShownName
// escapes them, so a cell always shows on its one line and as what it holds.
using TableRow = std::vector<std::string>;

}  // namespace rv
