// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include "platform/owned.h"

// Owned fonts and icons: each released once, when replaced or out of scope.
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

}  // namespace rv::win32
