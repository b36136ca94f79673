// SPDX-License-Identifier: MIT
#include "window_win32/dialog_window.h"

#include "platform/wide_text_win.h"
#include "window_win32/box_placement.h"
#include "window_win32/window_font.h"

namespace rv::win32 {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;

// Places the window, with a client area of the given size, over the middle of the owner inside
// the work area of the owner's monitor.
void PlaceOver(HWND window, HWND owner, int width, int height) {
    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
    const ScreenRect place =
        PlaceOverOwner(owner, outer.right - outer.left, outer.bottom - outer.top);
    SetWindowPos(window, nullptr, place.left, place.top, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

DialogWindow::DialogWindow(HWND owner, const wchar_t* class_name, DWORD extended_style,
                           std::string_view title, int width, int height)
    : owner_(owner) {
    RegisterObjectWindowClass<DialogWindow>(class_name);
    CreateWindowExW(extended_style, class_name, WideText(title).c_str(), kStyle, CW_USEDEFAULT,
                    CW_USEDEFAULT, 0, 0, owner, nullptr, GetModuleHandleW(nullptr), this);
    dpi_ = WindowDpi(window_);
    font_ = CreateFittingFont(dpi_);
    PlaceOver(window_, owner, Pixels(width), Pixels(height));
}

DialogWindow::~DialogWindow() {
    Close();
}

void DialogWindow::AddPart(int id, const wchar_t* system_class, DWORD style,
                           std::string_view text) {
    HWND part = CreateWindowExW(
        0, system_class, WideText(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window_,
        reinterpret_cast<HMENU>(INT_PTR{id}), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(part, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

void DialogWindow::Show(int focus) {
    EnableWindow(owner_, FALSE);
    ShowWindow(window_, SW_SHOW);
    SetFocus(Part(focus));
}

void DialogWindow::Close() {
    if (window_ != nullptr) {
        EnableWindow(owner_, TRUE);  // before the dialog goes, so the owner is activated again
        DestroyWindow(window_);
    }
}

int DialogWindow::PlaceButtons(std::initializer_list<int> ids) {
    RECT client{};
    GetClientRect(window_, &client);
    const int top = client.bottom - Pixels(kMargin) - Pixels(kLine);
    int right = client.right - Pixels(kMargin);
    for (int id : ids) {
        if (HWND button = Part(id)) {
            right -= Pixels(kButtonWidth);
            MoveWindow(button, right, top, Pixels(kButtonWidth), Pixels(kLine), TRUE);
            right -= Pixels(kMargin);
        }
    }
    return top;
}

LRESULT DialogWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_SIZE:
            LayOut();
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
            return 0;
        default:
            return DefWindowProcW(window_, message, wparam, lparam);
    }
}

void DialogWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    OwnedFont font = CreateFittingFont(dpi);
    for (HWND part = GetWindow(window_, GW_CHILD); part != nullptr;
         part = GetWindow(part, GW_HWNDNEXT)) {
        SendMessageW(part, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    }
    font_ = std::move(font);
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut();
}

std::wstring WideText(std::string_view text) {
    return platform::WideFromUtf8(text).value_or(std::wstring());
}

}  // namespace rv::win32
