// SPDX-License-Identifier: MIT
#include "window_win32/control_ids.h"

#include "form/control_layout.h"

namespace rv::win32 {

int ControlId(Control control) {
    const std::vector<ControlSpec>& layout = MainWindowLayout();
    for (std::size_t place = 0; place < layout.size(); ++place) {
        if (layout[place].name == control.name && layout[place].index == control.index) {
            return kFirstControlId + static_cast<int>(place);
        }
    }
    return 0;
}

}  // namespace rv::win32
