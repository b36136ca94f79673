// SPDX-License-Identifier: MIT
#include "window_win32/message_box.h"

#include <utility>

#include "platform/wide_text_win.h"

namespace rv::win32 {

namespace {

MessageBoxCall& Call() {
    static MessageBoxCall call;
    return call;
}

}  // namespace

void ShowMessageBox(HWND owner, std::string_view title, std::string_view text) {
    const std::wstring wide_title = platform::WideFromUtf8(title).value_or(std::wstring());
    const std::wstring wide_text = platform::WideFromUtf8(text).value_or(std::wstring());
    constexpr UINT kType = MB_OK | MB_APPLMODAL;
    if (const MessageBoxCall& call = Call()) {
        call(owner, wide_text, wide_title, kType);
    } else {
        MessageBoxW(owner, wide_text.c_str(), wide_title.c_str(), kType);
    }
}

void SetMessageBoxCall(MessageBoxCall call) {
    Call() = std::move(call);
}

}  // namespace rv::win32
