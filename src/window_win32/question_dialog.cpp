// SPDX-License-Identifier: MIT
#include "window_win32/question_dialog.h"

#include <windowsx.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/wide_text_win.h"
#include "window_win32/dpi_scale.h"
#include "window_win32/table_dialog.h"
#include "window_win32/window_font.h"
#include "window_win32/window_procedure.h"

namespace rv::win32 {
namespace {

// The layout, in twips like the main window's.
constexpr int kMargin = 120;
constexpr int kLine = 345;
constexpr int kButtonWidth = 1350;
constexpr int kClientWidth = 9000;
constexpr int kClientHeight = 6300;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;

std::wstring Wide(std::string_view text) {
    return platform::WideFromUtf8(text).value_or(std::wstring());
}

// Lets the list scroll sideways as far as its widest line reaches.
void SetScrollWidth(HWND list, HFONT font, UINT dpi) {
    HDC context = GetDC(list);
    HGDIOBJ before = SelectObject(context, font);
    int widest = 0;
    std::wstring line;
    for (int row = 0; row < ListBox_GetCount(list); ++row) {
        line.assign(static_cast<std::size_t>(ListBox_GetTextLen(list, row)) + 1, L'\0');
        line.resize(static_cast<std::size_t>(ListBox_GetText(list, row, line.data())));
        SIZE size{};
        GetTextExtentPoint32W(context, line.c_str(), static_cast<int>(line.size()), &size);
        widest = std::max(widest, static_cast<int>(size.cx));
    }
    SelectObject(context, before);
    ReleaseDC(list, context);
    ListBox_SetHorizontalExtent(list, widest + PixelsFromTwips(kMargin, dpi));
}

QuestionRunner& Runner() {
    static QuestionRunner runner;
    return runner;
}

class QuestionDialog {
public:
    QuestionDialog(HWND owner, std::string_view title, const ListQuestion& question);
    ~QuestionDialog() {
        if (window_ != nullptr) {
            DestroyWindow(window_);
        }
    }
    QuestionDialog(const QuestionDialog&) = delete;
    QuestionDialog& operator=(const QuestionDialog&) = delete;

    bool Ask();

private:
    friend LRESULT CALLBACK ObjectWindowProcedure<QuestionDialog>(HWND, UINT, WPARAM, LPARAM);
    static constexpr const wchar_t* kClassName = L"RvQuestionDialog";
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
    void AddPart(int id, const wchar_t* system_class, DWORD style, std::string_view text);
    void RunModalLoop();
    void LayOut();

    HWND owner_;
    HWND window_ = nullptr;
    UINT dpi_ = kDefaultDpi;
    OwnedFont font_;
    std::optional<bool> answer_;
};

QuestionDialog::QuestionDialog(HWND owner, std::string_view title, const ListQuestion& question)
    : owner_(owner) {
    RegisterObjectWindowClass<QuestionDialog>(kClassName);
    CreateWindowExW(WS_EX_DLGMODALFRAME, kClassName, Wide(title).c_str(), kStyle, CW_USEDEFAULT,
                    CW_USEDEFAULT, 0, 0, owner, nullptr, GetModuleHandleW(nullptr), this);
    dpi_ = WindowDpi(window_);
    font_ = CreateFittingFont(dpi_);
    AddPart(kQuestionText, L"STATIC", SS_LEFT | SS_NOPREFIX, question.text);
    AddPart(kQuestionList, L"LISTBOX",
            WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
            {});
    for (const std::string& line : question.lines) {
        SendMessageW(GetDlgItem(window_, kQuestionList), LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(Wide(line).c_str()));
    }
    SetScrollWidth(GetDlgItem(window_, kQuestionList), font_.get(), dpi_);
    AddPart(IDYES, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, "&Yes");
    AddPart(IDNO, L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, "&No");
    PlaceOver(window_, owner, PixelsFromTwips(kClientWidth, dpi_),
              PixelsFromTwips(kClientHeight, dpi_));
    LayOut();
}

void QuestionDialog::AddPart(int id, const wchar_t* system_class, DWORD style,
                             std::string_view text) {
    HWND part = CreateWindowExW(0, system_class, Wide(text).c_str(), WS_CHILD | WS_VISIBLE | style,
                                0, 0, 0, 0, window_, reinterpret_cast<HMENU>(INT_PTR{id}),
                                GetModuleHandleW(nullptr), nullptr);
    SendMessageW(part, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

bool QuestionDialog::Ask() {
    EnableWindow(owner_, FALSE);
    ShowWindow(window_, SW_SHOW);
    SetFocus(GetDlgItem(window_, IDNO));
    if (const QuestionRunner& runner = Runner()) {
        runner(window_);
    } else {
        RunModalLoop();
    }
    EnableWindow(owner_, TRUE);  // before the dialog goes, so the owner is activated again
    DestroyWindow(window_);
    return answer_.value_or(false);
}

// Until an answer comes; a quit asked for meanwhile is passed on to the loop outside.
void QuestionDialog::RunModalLoop() {
    MSG message{};
    while (!answer_) {
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (!IsDialogMessageW(window_, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

// The text on top, the buttons at the bottom right, the list takes the rest.
void QuestionDialog::LayOut() {
    RECT client{};
    GetClientRect(window_, &client);
    const auto pixels = [this](int twips) { return PixelsFromTwips(twips, dpi_); };
    const int margin = pixels(kMargin);
    const int line = pixels(kLine);
    const int width = client.right - 2 * margin;
    MoveWindow(GetDlgItem(window_, kQuestionText), margin, margin, width, 2 * line, TRUE);
    const int buttons = client.bottom - margin - line;
    const int list_top = 2 * margin + 2 * line;
    MoveWindow(GetDlgItem(window_, kQuestionList), margin, list_top, width,
               buttons - margin - list_top, TRUE);
    int right = client.right - margin;
    for (int id : {IDNO, IDYES}) {
        right -= pixels(kButtonWidth);
        MoveWindow(GetDlgItem(window_, id), right, buttons, pixels(kButtonWidth), line, TRUE);
        right -= margin;
    }
}

LRESULT QuestionDialog::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wparam) == IDYES || LOWORD(wparam) == IDNO || LOWORD(wparam) == IDCANCEL) {
                answer_ = LOWORD(wparam) == IDYES;
            }
            return 0;
        case WM_CLOSE:
            answer_ = false;
            return 0;
        case DM_GETDEFID:
            return MAKELRESULT(IDNO, DC_HASDEFID);
        case WM_SIZE:
            LayOut();
            return 0;
        default:
            return DefWindowProcW(window_, message, wparam, lparam);
    }
}

}  // namespace

bool AskListQuestion(HWND owner, std::string_view title, const ListQuestion& question) {
    return QuestionDialog(owner, title, question).Ask();
}

void SetQuestionRunner(QuestionRunner runner) {
    Runner() = std::move(runner);
}

}  // namespace rv::win32
