// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>

namespace rv {

// The one font of every control: "MS Sans Serif", 8.25 point, bold, where the machine has it.
// Elsewhere the face closest to its metrics that the machine has, in bold, at the largest size
// up to 8.25 point at which every fixed caption fits its control. Needs the application object.
QFont WindowFont();

}  // namespace rv
