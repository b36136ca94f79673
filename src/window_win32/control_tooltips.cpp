// SPDX-License-Identifier: MIT
#include "window_win32/control_tooltips.h"

#include <vector>

#include "platform/wide_text_win.h"

namespace rv::win32 {

namespace {

// Wide enough for a long path per line; a tip wraps at this width and at each line break.
constexpr LPARAM kMaxTipWidth = 900;

TOOLINFOW Tool(HWND control, wchar_t* text) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    return tool;
}

}  // namespace

void ControlToolTips::Create(HWND owner) {
    tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                            nullptr, nullptr, nullptr);
    SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
}

void ControlToolTips::SetText(HWND control, const std::string& text) {
    std::wstring wide = platform::WideFromUtf8(text).value_or(std::wstring());
    TOOLINFOW tool = Tool(control, wide.data());
    const bool added = tools_.insert(control).second;
    SendMessageW(tips_, added ? TTM_ADDTOOLW : TTM_UPDATETIPTEXTW, 0,
                 reinterpret_cast<LPARAM>(&tool));
}

std::string ControlToolTips::Text(HWND control) const {
    std::vector<wchar_t> buffer(65536, L'\0');
    TOOLINFOW tool = Tool(control, buffer.data());
    SendMessageW(tips_, TTM_GETTEXTW, buffer.size(), reinterpret_cast<LPARAM>(&tool));
    return platform::Utf8FromWide(buffer.data());
}

}  // namespace rv::win32
