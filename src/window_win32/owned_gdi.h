// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include "platform/owned.h"

// Owned fonts, icons and menus: each released once, when replaced or out of scope.
namespace rv::win32 {

struct FontTraits {
    using Handle = HFONT;
    static HFONT Invalid() { return nullptr; }
    static bool Valid(HFONT font) { return font != nullptr; }
    static void Close(HFONT font) { DeleteObject(font); }
};
using OwnedFont = platform::Owned<FontTraits>;

struct IconTraits {
    using Handle = HICON;
    static HICON Invalid() { return nullptr; }
    static bool Valid(HICON icon) { return icon != nullptr; }
    static void Close(HICON icon) { DestroyIcon(icon); }
};
using OwnedIcon = platform::Owned<IconTraits>;

struct MenuTraits {
    using Handle = HMENU;
    static HMENU Invalid() { return nullptr; }
    static bool Valid(HMENU menu) { return menu != nullptr; }
    static void Close(HMENU menu) { DestroyMenu(menu); }
};
using OwnedMenu = platform::Owned<MenuTraits>;

}  // namespace rv::win32
