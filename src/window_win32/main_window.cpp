// SPDX-License-Identifier: MIT
#include "window_win32/main_window.h"

#include <windowsx.h>

#include <algorithm>
#include <cassert>
#include <numeric>

#include "form/link_buttons.h"
#include "platform/wide_text_win.h"
#include "window_win32/control_ids.h"
#include "window_win32/dpi_scale.h"
#include "window_win32/file_list_dialog.h"
#include "window_win32/folder_browser.h"
#include "window_win32/installed_addons_dialog.h"
#include "window_win32/message_box.h"
#include "window_win32/message_pump.h"
#include "window_win32/open_address.h"
#include "window_win32/question_dialog.h"
#include "window_win32/window_font.h"

namespace rv::win32 {

namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// Posted by PostWakeUp.
constexpr UINT kWakeUpMessage = WM_APP + 1;
constexpr int kProgramIconId = 1;

std::wstring Wide(std::string_view text) {
    return platform::WideFromUtf8(text).value_or(std::wstring());
}

// Buttons and group boxes read '&' as the mark of a keyboard shortcut; captions show as they
// stand, so it is doubled on the way in and halved on the way out. Labels take no marks at all.
bool ReadsMnemonics(ControlKind kind) {
    return kind != ControlKind::Label;
}
std::string EscapeMnemonics(std::string_view text) {
    std::string escaped;
    for (char c : text) {
        escaped += c == '&' ? "&&" : std::string(1, c);
    }
    return escaped;
}
std::string UnescapeMnemonics(std::string_view text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        plain += text[i];
        if (text[i] == '&' && i + 1 < text.size() && text[i + 1] == '&') {
            ++i;
        }
    }
    return plain;
}

const wchar_t* SystemClass(ControlKind kind) {
    return kind == ControlKind::Label ? L"STATIC" : L"BUTTON";
}

DWORD ControlStyle(const ControlSpec& entry) {
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    switch (entry.kind) {
        case ControlKind::Frame:
            return kChild | BS_GROUPBOX;
        case ControlKind::Button:
            return kChild | WS_TABSTOP | BS_PUSHBUTTON;
        case ControlKind::Label:
            // One line, cut where the label ends; SS_NOTIFY lets a tip see the mouse.
            return kChild | SS_NOPREFIX | SS_NOTIFY |
                   (entry.right_aligned ? SS_RIGHT : SS_LEFTNOWORDWRAP);
    }
    return kChild;
}

// Children are stacked in the order they are created, and that order is also the one Tab
// follows: the buttons come first in focus order, then the labels, then the group boxes, each
// box above the box that holds it, so no box paints over what it holds.
std::vector<std::size_t> CreationOrder(const std::vector<ControlSpec>& layout) {
    const auto tab = TabOrder();
    const auto rank = [&](std::size_t place) {
        const ControlSpec& entry = layout[place];
        const auto in_tab = std::find(tab.begin(), tab.end(), entry.name);
        if (in_tab != tab.end()) {
            return in_tab - tab.begin();
        }
        const auto later = static_cast<std::ptrdiff_t>(layout.size() - place);
        return entry.kind == ControlKind::Label ? 1000 : 2000 + later;
    };
    std::vector<std::size_t> order(layout.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return rank(a) < rank(b); });
    return order;
}

constexpr UINT MenuId(std::size_t entry) {
    return MainWindow::MenuCommand(entry);
}

void AppendContextMenu(HMENU menu) {
    for (std::size_t entry = 0; entry < kContextMenu.size(); ++entry) {
        AppendMenuW(menu, MF_STRING, MenuId(entry), Wide(kContextMenu[entry]).c_str());
    }
}

OwnedIcon ProgramIcon(int size_metric) {
    const int size = GetSystemMetrics(size_metric);
    return OwnedIcon(
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIconId),
                                      IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

// Sizes the window so that its client area is exactly the given size.
void FitClientArea(HWND window, int width, int height) {
    RECT outer{};
    RECT client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    SetWindowPos(window, nullptr, 0, 0, width + (outer.right - outer.left) - client.right,
                 height + (outer.bottom - outer.top) - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

MainWindow::MainWindow(platform::RegistryBackend& registry, std::span<const std::string> arguments,
                       std::string receipt_folder)
    : form_(*this, registry, std::move(receipt_folder)) {
    CreateMainWindow();
    wake_target_ = window_;
    CreateControls();
    LayOut(WindowDpi(window_));
    form_.Form_Load();
    form_.OpenFolderArgument(arguments);
}

MainWindow::~MainWindow() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

void MainWindow::CreateMainWindow() {
    RegisterObjectWindowClass<MainWindow>(kClassName);
    window_ =
        CreateWindowExW(0, kClassName, Wide(CreationCaption()).c_str(), kWindowStyle, CW_USEDEFAULT,
                        CW_USEDEFAULT, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    large_icon_ = ProgramIcon(SM_CXICON);
    small_icon_ = ProgramIcon(SM_CXSMICON);
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large_icon_.get()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_.get()));
    DragAcceptFiles(window_, TRUE);
    HMENU system_menu = GetSystemMenu(window_, FALSE);
    AppendMenuW(system_menu, MF_SEPARATOR, 0, nullptr);
    AppendContextMenu(system_menu);
}

void MainWindow::CreateControls() {
    const std::vector<ControlSpec>& layout = MainWindowLayout();
    controls_.resize(layout.size());
    for (std::size_t place = 0; place < layout.size(); ++place) {
        const ControlSpec& entry = layout[place];
        TwipsRect rect = entry.rect;
        if (!entry.container.empty()) {
            const ControlWindow& container =
                controls_[keys_.at(ControlKey(entry.container, entry.container_index))];
            rect.left += container.window_rect.left;
            rect.top += container.window_rect.top;
        }
        controls_[place] = {nullptr, entry.kind, std::string(entry.name), rect};
        keys_[ControlKey(entry.name, entry.index)] = place;
    }
    for (std::size_t place : CreationOrder(layout)) {
        const ControlSpec& entry = layout[place];
        const std::string caption = ReadsMnemonics(entry.kind) ? EscapeMnemonics(entry.caption)
                                                               : std::string(entry.caption);
        controls_[place].handle = CreateWindowExW(0, SystemClass(entry.kind), Wide(caption).c_str(),
                                                  ControlStyle(entry), 0, 0, 0, 0, window_,
                                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(
                                                      kFirstControlId + static_cast<int>(place))),
                                                  GetModuleHandleW(nullptr), nullptr);
    }
    for (const LinkButton& link : LinkButtons()) {
        SetCaption(Control{link.name}, std::string(link.caption));
    }
    tips_.Create(window_);
}

void MainWindow::LayOut(UINT dpi) {
    dpi_ = dpi;
    OwnedFont font = CreateFittingFont(dpi);
    for (const ControlWindow& control : controls_) {
        const TwipsRect& twips = control.window_rect;
        const RECT pixels =
            PixelRectFromTwips(twips.left, twips.top, twips.width, twips.height, dpi);
        SetWindowPos(control.handle, nullptr, pixels.left, pixels.top, pixels.right - pixels.left,
                     pixels.bottom - pixels.top, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control.handle, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    }
    font_ = std::move(font);
    FitClientArea(window_, PixelsFromTwips(kClientWidthTwips, dpi),
                  PixelsFromTwips(kClientHeightTwips, dpi));
    InvalidateRect(window_, nullptr, TRUE);
}

void MainWindow::Show(int how) {
    ShowWindow(window_, how);
    UpdateWindow(window_);
    SetFocus(ControlHandle(Control{form_.FirstFocus()}));
}

const MainWindow::ControlWindow* MainWindow::Find(Control control) const {
    const auto found = keys_.find(ControlKey(control));
    return found == keys_.end() ? nullptr : &controls_[found->second];
}

HWND MainWindow::ControlHandle(Control control) const {
    if (control.name == names::RV2003_2004_Add_On_Installer) {
        return window_;
    }
    const ControlWindow* found = Find(control);
    assert(found != nullptr && "not a control of the main window");
    return found != nullptr ? found->handle : nullptr;
}

void MainWindow::SetCaption(Control control, const std::string& text) {
    const ControlWindow* found = Find(control);
    const bool escape = found != nullptr && ReadsMnemonics(found->kind);
    SetWindowTextW(ControlHandle(control), Wide(escape ? EscapeMnemonics(text) : text).c_str());
}

std::string MainWindow::Caption(Control control) const {
    HWND handle = ControlHandle(control);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(handle)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(handle, text.data(), static_cast<int>(text.size()))));
    const std::string caption = platform::Utf8FromWide(text);
    const ControlWindow* found = Find(control);
    return found != nullptr && ReadsMnemonics(found->kind) ? UnescapeMnemonics(caption) : caption;
}

void MainWindow::SetEnabled(Control control, bool enabled) {
    EnableWindow(ControlHandle(control), enabled ? TRUE : FALSE);
}

void MainWindow::SetToolTip(Control control, const std::string& text) {
    tips_.SetText(ControlHandle(control), text);
}

void MainWindow::SetMousePointer(MousePointer pointer) {
    busy_ = pointer == MousePointer::Hourglass;
    progress_.SetBusy(window_, busy_);
    SetCursor(LoadCursorW(nullptr, busy_ ? IDC_WAIT : IDC_ARROW));
}

bool MainWindow::ProcessPendingMessages() {
    return PumpPendingMessages(window_);
}

void MainWindow::ShowProgress(const PassProgress& progress) {
    progress_.SetProgress(window_, progress);
}

void MainWindow::ShowArchiveWarning() {
    ShowMessageBox(window_, kWarningTitle, kWarningText);
}

void MainWindow::ShowMessage(std::string_view title, const std::string& text) {
    ShowMessageBox(window_, title, text);
}

// Modal: the window takes no input while the browser shows.
std::string MainWindow::BrowseForFolder() {
    EnableWindow(window_, FALSE);
    std::string chosen = win32::BrowseForFolder(window_);
    EnableWindow(window_, TRUE);
    return chosen;
}

void MainWindow::OpenLink(std::string_view address) {
    OpenAddress(address);
}

void MainWindow::ShowFileList(std::unique_ptr<FileList> list) {
    dialog_.reset();
    dialog_ = std::make_unique<FileListDialog>(window_, std::move(list));
}

void MainWindow::ShowInstalledAddOns(std::unique_ptr<InstalledAddOns> list) {
    dialog_.reset();
    dialog_ = std::make_unique<InstalledAddOnsDialog>(window_, std::move(list));
}

bool MainWindow::Confirm(std::string_view title, const ListQuestion& question) {
    return AskListQuestion(Dialog() != nullptr ? Dialog() : window_, title, question);
}

// Other threads read only wake_target_, set before any of them starts. Once the window is gone
// the handle is refused.
void MainWindow::PostWakeUp() {
    PostMessageW(wake_target_, kWakeUpMessage, 0, 0);
}

// The window is hidden, not destroyed: the message loop ends, and the program with it.
void MainWindow::CloseWindow() {
    ShowWindow(window_, SW_HIDE);
    PostQuitMessage(0);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wparam), HIWORD(wparam));
            return 0;
        case WM_CLOSE:
            if (form_.CloseRequested()) {
                CloseWindow();
            }
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
            return 0;
        case WM_SETCURSOR:
            if (OnSetCursor()) {
                return TRUE;
            }
            break;
        case WM_ACTIVATE:
            OnActivate(LOWORD(wparam) != WA_INACTIVE);
            return 0;
        case kWakeUpMessage:
            form_.WakeUp();
            return 0;
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wparam));
            return 0;
        case WM_CONTEXTMENU:
            OnContextMenu({GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
            return 0;
        case WM_SYSCOMMAND:
            if (ChooseMenuEntry(static_cast<UINT>(wparam & 0xFFF0))) {
                return 0;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wparam, lparam);
}

// A button's click goes to the form; Enter, which the dialog keys turn into IDOK, presses the
// button that has the focus.
void MainWindow::OnCommand(int id, int notification) {
    if (id == IDOK) {
        HWND focus = GetFocus();
        const int focus_id =
            focus != nullptr && GetParent(focus) == window_ ? GetDlgCtrlID(focus) : 0;
        if (focus_id >= kFirstControlId) {
            SendMessageW(focus, BM_CLICK, 0, 0);
        }
        return;
    }
    const int place = id - kFirstControlId;
    if (notification != BN_CLICKED || place < 0 || place >= static_cast<int>(controls_.size())) {
        return;
    }
    const ControlWindow& control = controls_[static_cast<std::size_t>(place)];
    if (control.kind == ControlKind::Button) {
        form_.Click(control.name);
    }
}

void MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut(dpi);
}

void MainWindow::OnDropFiles(HDROP drop) {
    std::vector<std::string> items;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT item = 0; item < count; ++item) {
        std::wstring path(DragQueryFileW(drop, item, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, item, path.data(), static_cast<UINT>(path.size())));
        items.push_back(platform::Utf8FromWide(path));
    }
    DragFinish(drop);
    form_.DropItems(items);
}

bool MainWindow::OnSetCursor() {
    if (busy_) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    }
    return busy_;
}

void MainWindow::OnContextMenu(POINT at) {
    if (at.x == -1 && at.y == -1) {
        HWND focus = GetFocus();
        RECT below{};
        if (focus != nullptr && IsChild(window_, focus)) {
            GetWindowRect(focus, &below);
        } else {
            GetClientRect(window_, &below);
            MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&below), 2);
            below.bottom = below.top;
        }
        at = {below.left, below.bottom};
    }
    const OwnedMenu menu(CreatePopupMenu());
    AppendContextMenu(menu.get());
    ChooseMenuEntry(
        static_cast<UINT>(TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                         at.x, at.y, 0, window_, nullptr)));
}

bool MainWindow::ChooseMenuEntry(UINT id) {
    for (std::size_t entry = 0; entry < kContextMenu.size(); ++entry) {
        if (id == MenuId(entry)) {
            form_.ChooseMenuEntry(kContextMenu[entry]);
            return true;
        }
    }
    return false;
}

// Like a dialog, the window gives the focus back to the button that had it when the user
// returns to it.
void MainWindow::OnActivate(bool active) {
    if (!active) {
        HWND focus = GetFocus();
        focus_ = focus != nullptr && GetParent(focus) == window_ ? focus : focus_;
    } else if (focus_ != nullptr) {
        SetFocus(focus_);
    }
}

}  // namespace rv::win32
