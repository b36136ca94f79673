#pragma once

#include <QFont>

namespace rv {

// The one font of every control: "MS Sans Serif", 8.25 point, bold; where it is missing, a
// common sans-serif in bold at the same size.
QFont WindowFont();

}  // namespace rv
