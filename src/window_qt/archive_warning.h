// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "form/list_question.h"

class QDialog;
class QWidget;

namespace rv {

// The reminder before the add-on folder is chosen: the add-on must already be unpacked.
// Returns once the user has dismissed it.
void ShowArchiveWarning(QWidget* owner);
// A box of the same kind with this title and text, shown as it stands.
void ShowMessage(QWidget* owner, std::string_view title, const std::string& text);

// Asks the question in a modal dialog: its text (as it stands, never as markup) above a list of its
// lines that scrolls, then Yes and No, No the default. `place` sizes and moves the dialog before
// it shows. True for Yes.
bool AskListQuestion(QWidget* owner, std::string_view title, const ListQuestion& question,
                     const std::function<void(QDialog&)>& place);

// What runs a box (a QMessageBox) or the question dialog; tests inspect and answer it here instead
// of the modal loop. An empty function restores QDialog::exec.
using MessageBoxRunner = std::function<void(QDialog& box)>;
void SetMessageBoxRunner(MessageBoxRunner runner);

}  // namespace rv
