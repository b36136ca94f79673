// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

class QMessageBox;
class QWidget;

namespace rv {

// The reminder before the add-on folder is chosen: the add-on must already be unpacked.
// Returns once the user has dismissed it.
void ShowArchiveWarning(QWidget* owner);

// What runs the box; tests inspect and answer it here instead of the modal loop. An empty
// function restores QMessageBox::exec.
using MessageBoxRunner = std::function<void(QMessageBox& box)>;
void SetMessageBoxRunner(MessageBoxRunner runner);

}  // namespace rv
