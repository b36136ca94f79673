// SPDX-License-Identifier: MIT
#include "form/main_form.h"
#include "form/about.h"

#include <array>
#include <functional>
#include <memory>
#include <utility>

#include "core/pass_support.h"
#include "form/control_layout.h"
#include "form/link_buttons.h"
#include "platform/file_system.h"
#include "text/text.h"

namespace rv {

MainForm::MainForm(FormView& view, platform::RegistryBackend& registry, std::string receipt_folder)
    : view_(view), journal_(std::move(receipt_folder)), edition_(window_, installer_, registry) {
    // Also without a data folder: the pass then says that it kept no receipt.
    installer_.SetJournal(&journal_);
    installer_.SetComparisonsWanted([this] { view_.PostWakeUp(); });
}

void MainForm::Form_Load() {
    edition_.Form_Load();
}

void MainForm::OpenFolderArgument(std::span<const std::string> arguments) {
    if (arguments.empty()) {
        return;
    }
    // Only a folder that can be listed is an add-on folder; a file (an archive, say) is not.
    const std::string folder(text::TrimSpaces(arguments.front()));
    if (folder.empty() || !platform::ListFolder(folder)) {
        view_.ShowArchiveWarning();
        return;
    }
    TakeFolder(folder, &RV2003_2004_Add_On_Installer::SetAddOnFolder, names::lbl_Mods,
               names::cmd_read);
}

void MainForm::DropItems(std::span<const std::string> items) {
    if (installer_.PassRunning() || items.empty()) {
        return;
    }
    if (items.size() > 1) {
        view_.ShowArchiveWarning();
        return;
    }
    OpenFolderArgument(items);
}

void MainForm::Click(std::string_view button) {
    using Handler = void (MainForm::*)();
    static constexpr std::array<std::pair<std::string_view, Handler>, 5> kHandlers = {{
        {names::cmd_Open1, &MainForm::cmd_Open1_Click},
        {names::cmd_Open2, &MainForm::cmd_Open2_Click},
        {names::cmd_read, &MainForm::cmd_read_Click},
        {names::cmd_write, &MainForm::cmd_write_Click},
        {names::cmd_gameChange, &MainForm::cmd_gameChange_Click},
    }};
    const std::string_view address = LinkAddress(button);
    if (!address.empty()) {
        view_.OpenLink(address);
        return;
    }
    if (installer_.PassRunning()) {
        return;
    }
    for (const auto& [name, handler] : kHandlers) {
        if (name == button) {
            std::invoke(handler, this);
        }
    }
}

void MainForm::ChooseMenuEntry(std::string_view entry) {
    if (installer_.PassRunning()) {
        return;
    }
    if (entry == kFileListEntry) {
        view_.ShowFileList(std::make_unique<FileList>(installer_.LastPass()));
    } else if (entry == kAboutEntry) {
        view_.ShowMessage(kAboutTitle, AboutText());
    } else if (entry == kInstalledAddOnsEntry) {
        view_.ShowInstalledAddOns(std::make_unique<InstalledAddOns>(
            journal_.Folder(), installer_.GetGameFolder(), [this](const ListQuestion& question) {
                return view_.Confirm(InstalledAddOns::kConfirmTitle, question);
            }));
    }
}

bool MainForm::CloseRequested() {
    closing_ = installer_.PassRunning();
    if (!closing_) {
        installer_.DropComparisons();  // nothing more to show
    }
    return !closing_;
}

void MainForm::WakeUp() {
    installer_.TendComparisons();
}

std::string_view MainForm::FirstFocus() const {
    for (std::string_view button : TabOrder()) {
        const auto state = disabled_.find(button);
        if (state == disabled_.end() || !state->second) {
            return button;
        }
    }
    return {};
}

void MainForm::cmd_Open1_Click() {
    TakeFolder(std::string(text::TrimSpaces(view_.BrowseForFolder())),
               &RV2003_2004_Add_On_Installer::SetGameFolder, names::lbl_folder, names::cmd_Open2);
}

void MainForm::cmd_Open2_Click() {
    view_.ShowArchiveWarning();
    TakeFolder(std::string(text::TrimSpaces(view_.BrowseForFolder())),
               &RV2003_2004_Add_On_Installer::SetAddOnFolder, names::lbl_Mods, names::cmd_read);
}

void MainForm::TakeFolder(const std::string& picked, FolderSetter set_folder,
                          std::string_view label, std::string_view next_button) {
    if (!Usable(picked)) {
        return;
    }
    (installer_.*set_folder)(picked);
    window_.SetCaption({label}, picked);
    window_.SetEnabled({next_button}, true);
}

// A cancelled picker gives empty text: the earlier folder, its label and the buttons stay. So
// they do when the chosen folder is not found under the name the picker gave (bytes that are
// not UTF-8 in a Linux name may come back as replacement characters, outer spaces are trimmed):
// such a folder would only read as an empty add-on, so the status line says why nothing changed.
bool MainForm::Usable(const std::string& folder) {
    if (folder.empty()) {
        return false;
    }
    if (!platform::PathExists(folder)) {
        window_.SetCaption(kStatusLabel,
                           "Folder not found under this name: " + text::ShownName(folder));
        // An earlier pass's failures and files of another version no longer belong to the
        // status line.
        installer_.DropComparisons();
        window_.SetToolTip(kStatusLabel, "");
        return false;
    }
    return true;
}

void MainForm::cmd_read_Click() {
    installer_.cmd_read_Click();
    CloseIfAsked();
}

void MainForm::cmd_write_Click() {
    installer_.cmd_write_Click();
    CloseIfAsked();
}

void MainForm::cmd_gameChange_Click() {
    installer_.DropComparisons();  // the status line is the other edition's now
    edition_.cmd_gameChange_Click();
}

void MainForm::CloseIfAsked() {
    if (closing_) {
        closing_ = false;
        view_.CloseWindow();
    }
}

void MainForm::Window::SetCaption(Control control, const std::string& text) {
    form_.view_.SetCaption(control, text);
}

std::string MainForm::Window::Caption(Control control) const {
    return form_.view_.Caption(control);
}

void MainForm::Window::SetEnabled(Control control, bool enabled) {
    form_.disabled_[std::string(control.name)] = !enabled;
    form_.view_.SetEnabled(control, enabled);
}

void MainForm::Window::SetToolTip(Control control, const std::string& text) {
    form_.view_.SetToolTip(control, text);
}

void MainForm::Window::SetMousePointer(MousePointer pointer) {
    form_.view_.SetMousePointer(pointer);
}

bool MainForm::Window::ProcessPendingMessages() {
    return form_.view_.ProcessPendingMessages() && !form_.closing_;
}

void MainForm::Window::ShowProgress(const PassProgress& progress) {
    form_.view_.ShowProgress(progress);
}

}  // namespace rv
