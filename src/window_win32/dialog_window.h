// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "window_win32/dpi_scale.h"
#include "window_win32/owned_gdi.h"
#include "window_win32/window_procedure.h"

namespace rv::win32 {

// A modal window built in code: it stands over the middle of its owner inside the work area of
// the owner's monitor, scales with the monitor's dpi and shows its parts in the main window's
// font. The owner takes no input while it shows.
class DialogWindow {
public:
    virtual ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Null once the dialog has closed.
    HWND Handle() const { return window_; }

protected:
    // The layout, in twips like the main window's.
    static constexpr int kMargin = 120;
    static constexpr int kLine = 345;
    static constexpr int kButtonWidth = 1350;

    // Makes the window of the class with a client area of the size in twips; the class is
    // registered for such windows the first time.
    DialogWindow(HWND owner, const wchar_t* class_name, DWORD extended_style,
                 std::string_view title, int width, int height);

    // Adds a part of the system's class; the derived dialog places it in LayOut.
    void AddPart(int id, const wchar_t* system_class, DWORD style, std::string_view text = {});
    HWND Part(int id) const { return GetDlgItem(window_, id); }
    int Pixels(int twips) const { return PixelsFromTwips(twips, dpi_); }
    // Disables the owner, shows the dialog and puts the focus on the part.
    void Show(int focus);
    // Enables the owner again, then closes the dialog.
    void Close();
    // Lines up the buttons of these ids that exist at the bottom right, the first rightmost, and
    // returns the top of their row.
    int PlaceButtons(std::initializer_list<int> ids);

    // Places the parts in the client area; runs again when its size or the dpi changes.
    virtual void LayOut() {}
    // The messages a derived dialog does not handle itself go on to this.
    virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

    HWND window_ = nullptr;

private:
    friend LRESULT CALLBACK ObjectWindowProcedure<DialogWindow>(HWND, UINT, WPARAM, LPARAM);
    void OnDpiChanged(UINT dpi, const RECT& suggested);

    HWND owner_;
    UINT dpi_ = kDefaultDpi;
    OwnedFont font_;
};

// The UTF-8 text as the system's calls take it; empty where it is not UTF-8.
std::wstring WideText(std::string_view text);

}  // namespace rv::win32
