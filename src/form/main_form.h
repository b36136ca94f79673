// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>

#include "core/installer.h"
#include "edition/edition_selection.h"
#include "form/form_view.h"
#include "platform/data_folder.h"
#include "platform/registry.h"
#include "receipts/receipt_journal.h"

namespace rv {

// The main window's behaviour, whatever toolkit draws it: the start-up, the button chain, the
// folder pickers, the passes and the edition switch, the link buttons, and closing. A view
// creates its controls, then calls Form_Load, then OpenFolderArgument, then shows itself.
class MainForm {
public:
    // Receipts are kept in the receipt folder: the user's data folder unless one is given.
    MainForm(FormView& view, platform::RegistryBackend& registry,
             std::string receipt_folder = platform::UserDataFolder());

    // The start-up: resets the window and applies RV2004. Runs once, before the window shows.
    void Form_Load();

    // A folder handed to the program at its start (the first argument counts; the others are
    // ignored) is taken as the add-on folder, as if cmd_Open2 had picked it. Anything that is
    // not a folder changes nothing and shows the warning box.
    void OpenFolderArgument(std::span<const std::string> arguments);

    // Items dropped onto the open window: one folder is taken as the folder argument is; a file
    // or several items show the warning box and change nothing. Refused while a pass runs.
    void DropItems(std::span<const std::string> items);

    // A click on the named button. Refused while a pass runs, except on a link button.
    void Click(std::string_view button);

    // An entry of kContextMenu chosen: opens its dialog. Refused while a pass runs.
    void ChooseMenuEntry(std::string_view entry);

    // The user asks to close the window. True: close now. False while a pass runs: the pass
    // stops at its next yield, and the form then calls FormView::CloseWindow.
    bool CloseRequested();

    // The button the keyboard focus starts on: the first enabled one of the focus order.
    std::string_view FirstFocus() const;

    // Work done beside the window has something for it (FormView::PostWakeUp): the comparisons
    // of the files a read found already there, which end in a line of the status tool tip.
    void WakeUp();

private:
    // What the workflow sees of the view: every operation passed on, Enabled states noted for
    // the focus, and a close asked for during a pass reported at the next yield.
    class Window : public WindowOperations {
    public:
        explicit Window(MainForm& form) : form_(form) {}
        void SetCaption(Control control, const std::string& text) override;
        std::string Caption(Control control) const override;
        void SetEnabled(Control control, bool enabled) override;
        void SetToolTip(Control control, const std::string& text) override;
        void SetMousePointer(MousePointer pointer) override;
        bool ProcessPendingMessages() override;
        void ShowProgress(const PassProgress& progress) override;

    private:
        MainForm& form_;
    };

    void cmd_Open1_Click();
    void cmd_Open2_Click();
    void cmd_read_Click();
    void cmd_write_Click();
    void cmd_gameChange_Click();
    // Takes a picked folder as the given folder member, shows it in its label and enables the
    // next button of the chain; a folder that cannot be used changes nothing.
    using FolderSetter = void (RV2003_2004_Add_On_Installer::*)(std::string);
    void TakeFolder(const std::string& picked, FolderSetter set_folder, std::string_view label,
                    std::string_view next_button);
    bool Usable(const std::string& folder);
    void CloseIfAsked();

    FormView& view_;
    Window window_{*this};
    RV2003_2004_Add_On_Installer installer_{window_};
    ReceiptJournal journal_;
    EditionSelection edition_;
    std::map<std::string, bool, std::less<>> disabled_;  // buttons start enabled
    bool closing_ = false;
};

}  // namespace rv
