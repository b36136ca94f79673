// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

namespace rv::win32 {

// The window procedure of a window class whose windows each belong to one object: the object
// passes itself as CreateWindowExW's last argument, learns its window in `window_` at once and
// loses it when the window is gone; every message in between goes to its HandleMessage.
template <typename Owner>
LRESULT CALLBACK ObjectWindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* creating =
            static_cast<Owner*>(reinterpret_cast<const CREATESTRUCTW*>(lparam)->lpCreateParams);
        creating->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creating));
    }
    auto* self = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wparam, lparam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcW(window, message, wparam, lparam);
    }
    return self->HandleMessage(message, wparam, lparam);
}

// Registers the window class of such windows, on the dialog colour with the arrow pointer. A
// class registered before stays as it is.
template <typename Owner>
void RegisterObjectWindowClass(const wchar_t* name) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = &ObjectWindowProcedure<Owner>;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = name;
    RegisterClassExW(&window_class);
}

}  // namespace rv::win32
