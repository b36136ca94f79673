#include "window_win32/control_tooltip.h"

#include <commctrl.h>

#include <vector>

#include "platform/wide_text_win.h"

namespace rv::win32 {

namespace {

// Wide enough for a long path per line; a tip wraps at this width and at each line break.
constexpr LPARAM kMaxTipWidth = 900;

}  // namespace

TOOLINFOW ControlToolTip::Tool() const {
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control_);
    tool.uId = reinterpret_cast<UINT_PTR>(control_);
    return tool;
}

void ControlToolTip::Attach(HWND control) {
    control_ = control;
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                           GetAncestor(control, GA_ROOT), nullptr, nullptr, nullptr);
    TOOLINFOW tool = Tool();
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
}

void ControlToolTip::SetText(const std::string& text) {
    std::wstring wide = platform::WideFromUtf8(text).value_or(std::wstring());
    TOOLINFOW tool = Tool();
    tool.lpszText = wide.data();
    SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::string ControlToolTip::Text() const {
    std::vector<wchar_t> buffer(65536, L'\0');
    TOOLINFOW tool = Tool();
    tool.lpszText = buffer.data();
    SendMessageW(tip_, TTM_GETTEXTW, buffer.size(), reinterpret_cast<LPARAM>(&tool));
    return platform::Utf8FromWide(buffer.data());
}

}  // namespace rv::win32
