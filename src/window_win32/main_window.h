// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "form/control_layout.h"
#include "form/form_view.h"
#include "form/main_form.h"
#include "platform/data_folder.h"
#include "platform/registry.h"
#include "window_win32/control_tooltips.h"
#include "window_win32/owned_gdi.h"
#include "window_win32/table_dialog.h"
#include "window_win32/taskbar_progress.h"
#include "window_win32/window_procedure.h"

namespace rv::win32 {

// The main window on Windows: the 75 controls of the layout table as the system's own buttons,
// labels and group boxes, scaled to the monitor's dpi, every click routed to the main form. The
// start-up and the folder argument have run when the constructor returns; Show shows it.
class MainWindow final : public FormView {
public:
    // Receipts are kept in the receipt folder: the user's data folder unless one is given.
    MainWindow(platform::RegistryBackend& registry, std::span<const std::string> arguments,
               std::string receipt_folder = platform::UserDataFolder());
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // The window class; another process finds the window by it.
    static constexpr const wchar_t* kClassName = L"RV2003_2004_Add_On_Installer";

    // The id of the context menu's entry, in the context menu and in the system menu, whose
    // commands leave the low four bits to the system and take the ids from 0xF000 up.
    static constexpr UINT MenuCommand(std::size_t entry) {
        return 0x100 + 0x10 * static_cast<UINT>(entry);
    }

    HWND Handle() const { return window_; }
    // The system window of a control; the window itself for names::RV2003_2004_Add_On_Installer.
    HWND ControlHandle(Control control) const;
    // The text of the control's tip.
    std::string ToolTip(Control control) const { return tips_.Text(ControlHandle(control)); }
    const MainForm& Form() const { return form_; }

    // Shows the window with the focus on the form's first button.
    void Show(int how);

    void SetCaption(Control control, const std::string& text) override;
    std::string Caption(Control control) const override;
    void SetEnabled(Control control, bool enabled) override;
    void SetToolTip(Control control, const std::string& text) override;
    void SetMousePointer(MousePointer pointer) override;
    bool ProcessPendingMessages() override;
    void ShowProgress(const PassProgress& progress) override;
    void ShowArchiveWarning() override;
    void ShowMessage(std::string_view title, const std::string& text) override;
    std::string BrowseForFolder() override;
    void OpenLink(std::string_view address) override;
    void CloseWindow() override;
    void ShowFileList(std::unique_ptr<FileList> list) override;
    void ShowInstalledAddOns(std::unique_ptr<InstalledAddOns> list) override;
    bool Confirm(std::string_view title, const ListQuestion& question) override;
    void PostWakeUp() override;
    // The dialog of the context menu that shows, or null.
    HWND Dialog() const { return dialog_ ? dialog_->Handle() : nullptr; }

private:
    struct ControlWindow {
        HWND handle = nullptr;
        ControlKind kind = ControlKind::Label;
        std::string name;       // the control's name, without the index
        TwipsRect window_rect;  // in twips from the client area's top-left corner
    };

    template <typename Owner>
    friend LRESULT CALLBACK ObjectWindowProcedure(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
    void OnCommand(int id, int notification);
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    bool OnSetCursor();
    // Folders or files dropped onto the window from the shell.
    void OnDropFiles(HDROP drop);
    void OnActivate(bool active);
    // The context menu at the point, in screen coordinates; from the keyboard (-1, -1) below
    // the control with the focus.
    void OnContextMenu(POINT at);
    // The entry of a context or system menu id; false for another id.
    bool ChooseMenuEntry(UINT id);

    void CreateMainWindow();
    void CreateControls();
    // Places every control and sizes the client area for the window's dpi, in its font.
    void LayOut(UINT dpi);
    const ControlWindow* Find(Control control) const;

    MainForm form_;
    HWND window_ = nullptr;
    HWND wake_target_ = nullptr;               // window_ as created, for other threads to post to
    std::vector<ControlWindow> controls_;      // by control id less kFirstControlId
    std::map<std::string, std::size_t> keys_;  // control key to its place in controls_
    UINT dpi_ = 96;
    OwnedFont font_;
    OwnedIcon large_icon_;
    OwnedIcon small_icon_;
    ControlToolTips tips_;
    TaskbarProgress progress_;
    std::unique_ptr<TableDialog> dialog_;
    HWND focus_ = nullptr;  // kept while another window is active
    bool busy_ = false;
};

}  // namespace rv::win32
