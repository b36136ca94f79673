// SPDX-License-Identifier: MIT
#pragma once

#include <QFileDialog>
#include <QString>
#include <functional>
#include <string>

class QWidget;

// The folder picker of the two Open buttons.
namespace rv::modGetFolder {

// The part of the text before its first NUL; the whole text when it holds none.
QString TrimAtNull(const QString& text);

// Shows the folder picker (folders only, whole file system, nothing preselected) and returns
// the chosen folder as the workflow holds paths, or empty text when the user cancels.
std::string BrowseForFolder(QWidget* owner);

// Turns a folder from Qt into a workflow path: native separators, and on Linux the very bytes
// the kernel uses for the name.
std::string PathFromQt(const QString& folder);

// What shows the picker; tests put their answer here instead of the modal dialog. Receives the
// owner, the title, the preselected folder and the dialog options, returns the chosen folder.
using DirectoryPicker = std::function<QString(QWidget* owner, const QString& title,
                                              const QString& start, QFileDialog::Options options)>;

// Replaces the picker; an empty function restores the real dialog.
void SetDirectoryPicker(DirectoryPicker picker);

}  // namespace rv::modGetFolder
