// SPDX-License-Identifier: MIT
#include "window_win32/question_dialog.h"

#include <windowsx.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "window_win32/dialog_window.h"

namespace rv::win32 {
namespace {

constexpr int kClientWidth = 9000;  // twips
constexpr int kClientHeight = 6300;

// Lets the list scroll sideways as far as its widest line reaches.
void SetScrollWidth(HWND list, int margin) {
    HDC context = GetDC(list);
    HGDIOBJ before = SelectObject(context, GetWindowFont(list));
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
    ListBox_SetHorizontalExtent(list, widest + margin);
}

QuestionRunner& Runner() {
    static QuestionRunner runner;
    return runner;
}

class QuestionDialog final : public DialogWindow {
public:
    QuestionDialog(HWND owner, std::string_view title, const ListQuestion& question);

    bool Ask();

private:
    static constexpr const wchar_t* kClassName = L"RvQuestionDialog";
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void RunModalLoop();
    void LayOut() override;

    std::optional<bool> answer_;
};

QuestionDialog::QuestionDialog(HWND owner, std::string_view title, const ListQuestion& question)
    : DialogWindow(owner, kClassName, WS_EX_DLGMODALFRAME, title, kClientWidth, kClientHeight) {
    AddPart(kQuestionText, L"STATIC", SS_LEFT | SS_NOPREFIX, question.text);
    AddPart(kQuestionList, L"LISTBOX",
            WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY);
    for (const std::string& line : question.lines) {
        SendMessageW(Part(kQuestionList), LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(WideText(line).c_str()));
    }
    SetScrollWidth(Part(kQuestionList), Pixels(kMargin));
    AddPart(IDYES, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, "&Yes");
    AddPart(IDNO, L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, "&No");
    LayOut();
}

bool QuestionDialog::Ask() {
    Show(IDNO);
    if (const QuestionRunner& runner = Runner()) {
        runner(window_);
    } else {
        RunModalLoop();
    }
    Close();
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
    const int margin = Pixels(kMargin);
    const int line = Pixels(kLine);
    const int width = client.right - 2 * margin;
    MoveWindow(Part(kQuestionText), margin, margin, width, 2 * line, TRUE);
    const int buttons = PlaceButtons({IDNO, IDYES});
    const int list_top = 2 * margin + 2 * line;
    MoveWindow(Part(kQuestionList), margin, list_top, width, buttons - margin - list_top, TRUE);
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
        default:
            return DialogWindow::HandleMessage(message, wparam, lparam);
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
