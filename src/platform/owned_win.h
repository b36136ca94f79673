// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include "platform/owned.h"

// Owned kernel handles and directory searches.
namespace rv::platform {

struct KernelHandleTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Valid(HANDLE handle) { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};
using KernelHandle = Owned<KernelHandleTraits>;

struct SearchHandleTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Valid(HANDLE handle) { return handle != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { FindClose(handle); }
};
using SearchHandle = Owned<SearchHandleTraits>;

}  // namespace rv::platform
