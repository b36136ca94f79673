// SPDX-License-Identifier: MIT
#include "window_win32/message_box.h"

#include <utility>

#include "platform/wide_text_win.h"
#include "window_win32/box_placement.h"

namespace rv::win32 {

namespace {

MessageBoxCall& Call() {
    static MessageBoxCall call;
    return call;
}

int Show(HWND owner, std::string_view title, std::string_view text, UINT type) {
    const std::wstring wide_title = platform::WideFromUtf8(title).value_or(std::wstring());
    const std::wstring wide_text = platform::WideFromUtf8(text).value_or(std::wstring());
    const PlaceNextActivated placed(owner);
    if (const MessageBoxCall& call = Call()) {
        return call(owner, wide_text, wide_title, type);
    }
    return MessageBoxW(owner, wide_text.c_str(), wide_title.c_str(), type);
}

}  // namespace

void ShowMessageBox(HWND owner, std::string_view title, std::string_view text) {
    Show(owner, title, text, MB_OK | MB_APPLMODAL);
}

void SetMessageBoxCall(MessageBoxCall call) {
    Call() = std::move(call);
}

}  // namespace rv::win32
