// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>
#include <string_view>

class QMessageBox;
class QWidget;

namespace rv {

// The reminder before the add-on folder is chosen: the add-on must already be unpacked.
// Returns once the user has dismissed it.
void ShowArchiveWarning(QWidget* owner);
// A box of the same kind with this title and text, shown as it stands.
void ShowMessage(QWidget* owner, std::string_view title, const std::string& text);

// Asks the question in a modal box with Yes and No, No the default; true for Yes. The text is
// shown as it stands, never as markup.
bool AskQuestion(QWidget* owner, std::string_view title, const std::string& question);

// What runs a box (the warning and the questions); tests inspect and answer it here instead of the
// modal loop. An empty function restores QMessageBox::exec.
using MessageBoxRunner = std::function<void(QMessageBox& box)>;
void SetMessageBoxRunner(MessageBoxRunner runner);

}  // namespace rv
