// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "core/window_operations.h"
#include "form/file_list.h"
#include "form/installed_addons.h"
#include "form/list_question.h"

namespace rv {

// The folder picker's title, as the system shows it to its German-speaking users.
inline constexpr std::string_view kPickerTitle = "Bitte den Startordner wählen!";

// The warning box shown before the add-on folder is chosen: the same title for both editions,
// two lines of text.
inline constexpr std::string_view kWarningTitle = "Unofficial RV2004 Add-On Installer";
inline constexpr std::string_view kWarningText =
    "Please choose the Folder with the Maps, Mutators, Skins, Weapons, ...\r\n"
    "NO archives supported!";

// The entries of the window's context menu, in the order shown; MainForm::ChooseMenuEntry takes
// them. On Windows the window's system menu offers them too.
inline constexpr std::string_view kFileListEntry = "Files of the last pass...";
inline constexpr std::string_view kInstalledAddOnsEntry = "Installed add-ons...";
inline constexpr std::string_view kAboutEntry = "About...";
inline constexpr std::array<std::string_view, 3> kContextMenu = {
    kFileListEntry, kInstalledAddOnsEntry, kAboutEntry};

// What the main form needs of a window toolkit. A window (Qt, Win32) creates the controls of
// MainWindowLayout(), implements these operations on them and routes every button click to
// MainForm::Click. Texts are UTF-8; paths are in the platform layer's form.
//
// From WindowOperations: set a caption (the control names::RV2003_2004_Add_On_Installer is the
// window, its caption the title), read one back, set a button's Enabled state, set the status
// line's tool tip, set the busy or the default mouse pointer, and process pending messages (the
// view returns true; the form itself reports a close asked for meanwhile). A name that is not
// IsControl() is a programming error: views assert on it.
class FormView : public WindowOperations {
public:
    // Shows the warning box: kWarningTitle, kWarningText, one OK button, no icon, modal for the
    // application. Returns once the user has dismissed it.
    virtual void ShowArchiveWarning() = 0;
    // Shows a box in the same way with this title and text.
    virtual void ShowMessage(std::string_view title, const std::string& text) = 0;

    // Shows the folder picker: title kPickerTitle, file-system folders only, the whole file
    // system offered, nothing preselected, modal for the main window. Returns the chosen folder's
    // path (not cut at any length), or empty text when the user cancels.
    virtual std::string BrowseForFolder() = 0;

    // Opens the address in the user's web browser and returns at once.
    virtual void OpenLink(std::string_view address) = 0;

    // The two dialogs of the context menu. Each shows its model's kTitle, its kColumns over its
    // Rows() (plain text, one row a line; a row is chosen by its position in Rows()), and keeps
    // the main window from taking input while it shows. The view owns the model for as long as
    // the dialog shows, and may return before it closes.
    //
    // The file list: a click on a column header sorts by it (FileList::SortBy, ascending first,
    // each further click the other way); a choice box of FileList::FilterChoices() filters
    // (SetFilter); Ctrl+C and a Copy button put CopyText() of the selected rows on the
    // clipboard; Heading() shows above the table.
    virtual void ShowFileList(std::unique_ptr<FileList> list) = 0;
    // The installed add-ons: a Remove button, enabled only while the selected row is
    // Removable(), runs InstalledAddOns::Remove; the view then shows Rows() afresh and the lines
    // of Outcome() below the table.
    virtual void ShowInstalledAddOns(std::unique_ptr<InstalledAddOns> list) = 0;
    // Asks the question in a modal dialog with the title: its text above a list of its lines
    // that scrolls, then the buttons Yes and No, No the default; the dialog fits the work area
    // as the other dialogs do. True when the user answers Yes.
    virtual bool Confirm(std::string_view title, const ListQuestion& question) = 0;

    // Closes the window for good. The form calls it when a close it put off may go ahead.
    virtual void CloseWindow() = 0;

    // Has MainForm::WakeUp called on the window's thread once the messages waiting are handled.
    // Unlike every other operation it may be called from any thread: work done beside the window
    // calls it when it has something for the window. One that comes as the window goes is
    // dropped.
    virtual void PostWakeUp() = 0;
};

}  // namespace rv
