// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "form/control_layout.h"
#include "platform/wide_text_win.h"
#include "text/text.h"
#include "window/window_driver.h"
#include "window_win32/control_ids.h"
#include "window_win32/driven_program.h"
#include "window_win32/folder_browser.h"
#include "window_win32/main_window.h"
#include "window_win32/message_box.h"
#include "window_win32/message_pump.h"
#include "window_win32/open_address.h"
#include "window_win32/question_dialog.h"
#include "window_win32/window_thread.h"

namespace rv::test {
namespace {

using platform::Utf8FromWide;
using platform::WideFromUtf8;

// The Win32 window under Wine, over the registry and folder of the test registry; the shell's
// folder browser, the message box and the shell's opening of a link are answered through the
// window's seams, with the requests the window made.
class Win32Driver : public WindowDriver {
public:
    Win32Driver() {
        SetProcessDPIAware();  // as the program's manifest declares it
        win32::SetShellFolderBrowser([this](BROWSEINFOW& request) -> PIDLIST_ABSOLUTE {
            const bool start_folder = RunBrowserCallback(request);
            dialogs_.push_back(
                "picker|" + Utf8FromWide(request.lpszTitle) + "|" +
                (request.ulFlags == BIF_RETURNONLYFSDIRS ? "folders only" : "other flags") +
                (request.pidlRoot == nullptr && !start_folder ? ", no start folder"
                                                              : ", a start folder") +
                (IsWindowEnabled(window_->Handle()) ? ", not modal" : ", modal"));
            // The shell names no folder with outer spaces; all spaces is a cancel.
            const std::string answer(text::TrimSpaces(TakeAnswer()));
            return answer.empty()
                       ? nullptr
                       : SHSimpleIDListFromPath(WideFromUtf8(answer).value_or(L"").c_str());
        });
        win32::SetMessageBoxCall([this](HWND owner, const std::wstring& text,
                                        const std::wstring& title, UINT type) {
            dialogs_.push_back("warning|" + Utf8FromWide(title) + "|" + Utf8FromWide(text) +
                               ((type & MB_TYPEMASK) == MB_OK ? "|OK" : "|other buttons") +
                               ((type & MB_ICONMASK) == 0 ? ",no icon" : ",an icon") +
                               (IsMainWindow(owner) && (type & MB_MODEMASK) != MB_SYSTEMMODAL
                                    ? ",modal"
                                    : ",not modal"));
            ShowBoxAndClose(owner, [&] { MessageBoxW(owner, text.c_str(), title.c_str(), type); });
            return IDOK;
        });
        win32::SetQuestionRunner([this](HWND dialog) {
            HWND list = GetDlgItem(dialog, win32::kQuestionList);
            std::string lines;
            for (int row = 0; row < ListBox_GetCount(list); ++row) {
                std::wstring line(static_cast<std::size_t>(ListBox_GetTextLen(list, row)) + 1,
                                  L'\0');
                line.resize(static_cast<std::size_t>(ListBox_GetText(list, row, line.data())));
                lines += (row == 0 ? "" : "\n") + Utf8FromWide(line);
            }
            dialogs_.push_back("question|" + Text(dialog) + "|" +
                               Text(GetDlgItem(dialog, win32::kQuestionText)) + "|" + lines);
            SendMessageW(GetDlgItem(dialog, std::exchange(yes_, false) ? IDYES : IDNO), BM_CLICK, 0,
                         0);
        });
        win32::SetAddressOpener(
            [this](const std::wstring& address) { links_.push_back(Utf8FromWide(address)); });
    }
    ~Win32Driver() override {
        Stop();
        win32::SetShellFolderBrowser({});
        win32::SetMessageBoxCall({});
        win32::SetQuestionRunner({});
        win32::SetAddressOpener({});
    }

    void Start(const std::vector<std::string>& arguments) override {
        Stop();
        dialogs_.clear();
        misplaced_.clear();
        registry_ = platform::OpenSystemRegistry();
        window_ = std::make_unique<win32::MainWindow>(*registry_, arguments, ReceiptFolder());
        window_->Show(SW_SHOWNORMAL);
    }
    void Click(std::string_view button) override {
        ClickIfEnabled(window_->ControlHandle({button}));
    }
    std::string Caption(Control control) const override { return window_->Caption(control); }
    std::string ToolTip(Control control) const override { return window_->ToolTip(control); }
    bool WaitFor(const std::function<bool()>& done) override {
        for (int turn = 0; turn < 5000; ++turn) {
            win32::PumpPendingMessages(window_->Handle());
            if (done()) {
                return true;
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        }
        return false;
    }
    bool Enabled(Control control) const override {
        return IsWindowEnabled(window_->ControlHandle(control)) != FALSE;
    }
    bool Busy() const override { return GetCursor() == LoadCursorW(nullptr, IDC_WAIT); }
    bool Open() const override { return window_ && IsWindowVisible(window_->Handle()); }
    std::string Focused() const override { return Key(GetFocus()); }
    std::vector<ShownControl> Controls() const override {
        std::vector<ShownControl> shown;
        for (const ControlSpec& entry : MainWindowLayout()) {
            const Control control{entry.name, entry.index};
            const Control container{entry.container, entry.container_index};
            const bool top = entry.container.empty();  // placed in the window itself
            const RECT outer = Rect(window_->ControlHandle(control));
            const RECT origin = top ? ClientOrigin() : Rect(window_->ControlHandle(container));
            shown.push_back(
                {ControlKey(control), Kind(window_->ControlHandle(control)),
                 top ? std::string(names::RV2003_2004_Add_On_Installer) : ControlKey(container),
                 At96(outer.left - origin.left), At96(outer.top - origin.top),
                 At96(outer.right - outer.left), At96(outer.bottom - outer.top),
                 window_->Caption(control)});
        }
        return shown;
    }
    // The buttons that Tab visits, in the stacking order it follows, from cmd_Open2 round.
    std::vector<std::string> TabOrder() const override {
        std::vector<std::string> order;
        for (HWND child = GetWindow(window_->Handle(), GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if ((GetWindowLongPtrW(child, GWL_STYLE) & WS_TABSTOP) != 0) {
                order.push_back(Key(child));
            }
        }
        const auto first = std::find(order.begin(), order.end(), names::cmd_Open2);
        std::rotate(order.begin(), first, order.end());
        return order;
    }

    // The action runs when the message posted now is dispatched: in the middle of a pass, the next
    // time the pass processes messages.
    void AtNextYield(std::function<void()> action) override {
        action_ = std::move(action);
        SetWindowSubclass(window_->Handle(), &RunAtYield, 0, reinterpret_cast<DWORD_PTR>(this));
        PostMessageW(window_->Handle(), kYieldMessage, 0, 0);
    }
    void Close() override { SendMessageW(window_->Handle(), WM_CLOSE, 0, 0); }

    std::vector<std::string> CutOff() const override {
        std::vector<std::string> cut = CutCaptions();
        cut.insert(cut.end(), misplaced_.begin(), misplaced_.end());
        RECT inside{};
        const RECT dialog = Rect(Dialog()), area = WorkArea(window_->Handle());
        if (Dialog() != nullptr &&
            (!IntersectRect(&inside, &dialog, &area) || !EqualRect(&inside, &dialog))) {
            cut.push_back("dialog: outside the work area");
        }
        const std::vector<std::string> columns =
            Dialog() != nullptr ? CutColumns() : std::vector<std::string>{};
        cut.insert(cut.end(), columns.begin(), columns.end());
        return cut;
    }
    // A DROPFILES block with the paths as the shell hands it over, sent to the window.
    void Drop(const std::vector<std::string>& items) override {
        std::wstring paths;
        for (const std::string& item : items) {
            paths += WideFromUtf8(item).value_or(L"") + L'\0';
        }
        paths += L'\0';
        const std::size_t bytes = sizeof(DROPFILES) + paths.size() * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GHND, bytes);
        auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        std::memcpy(drop + 1, paths.data(), paths.size() * sizeof(wchar_t));
        GlobalUnlock(memory);
        SendMessageW(window_->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    }
    void MoveToCorner() override {
        const RECT area = WorkArea(window_->Handle());
        SetWindowPos(window_->Handle(), nullptr, area.left, area.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
    }

    std::string ReceiptFolder() const override { return Root() + "\\Receipts"; }
    // A right click on a label, or the menu key on the button with the focus, then the keys that
    // choose the entry in the menu's own loop, all through the window's message loop.
    bool ChooseMenuEntry(std::string_view entry, bool keyboard) override {
        if (keyboard) {
            PostMessageW(GetFocus(), WM_KEYUP, VK_APPS, 0);
        } else {
            PostMessageW(window_->ControlHandle({names::lbl_status}), WM_RBUTTONUP, 0,
                         MAKELPARAM(4, 4));
        }
        const auto place = std::find(kContextMenu.begin(), kContextMenu.end(), entry);
        for (auto i = kContextMenu.begin(); i <= place; ++i) {
            PostMessageW(window_->Handle(), WM_KEYDOWN, VK_DOWN, 0);
        }
        PostMessageW(window_->Handle(), WM_KEYDOWN, VK_RETURN, 0);
        win32::PumpPendingMessages(window_->Handle());  // the menu's loop takes the keys
        const bool modal = Dialog() != nullptr && !IsWindowEnabled(window_->Handle());
        EXPECT_TRUE(Dialog() == nullptr || modal) << "the dialog lets the window take input";
        return modal;
    }
    std::vector<std::string> Rows() const override {
        HWND table = Part(win32::TableDialog::kTable), header = ListView_GetHeader(table);
        const auto text = [=](int row, int column) {
            wchar_t cell[1024] = {};
            if (row >= 0) {
                ListView_GetItemText(table, row, column, cell, 1024);
                return Utf8FromWide(cell);
            }
            HDITEMW item{};
            item.mask = HDI_TEXT;
            item.pszText = cell;
            item.cchTextMax = 1024;
            Header_GetItem(header, column, &item);
            return Utf8FromWide(cell);
        };
        return TableRows(ListView_GetItemCount(table), Header_GetItemCount(header), text);
    }
    // Presses and lets go of the mouse in the middle of the column's header.
    void ClickColumn(int column) override {
        HWND header = ListView_GetHeader(Part(win32::TableDialog::kTable));
        RECT rect{};
        Header_GetItemRect(header, column, &rect);
        const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(header, WM_LBUTTONUP, 0, at);
    }
    void Filter(std::string_view choice) override {
        HWND filter = Part(win32::TableDialog::kFilter);
        const std::wstring text = WideFromUtf8(choice).value_or(L"");
        const LRESULT found = SendMessageW(filter, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageW(filter, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
        SendMessageW(Dialog(), WM_COMMAND, MAKEWPARAM(win32::TableDialog::kFilter, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(filter));
    }
    std::string Copy(const std::vector<int>& rows, bool button) override {
        Select(rows);
        if (OpenClipboard(nullptr)) {  // no copy from before shows through
            EmptyClipboard();
            CloseClipboard();
        }
        if (button) {
            SendMessageW(Part(win32::TableDialog::kCopy), BM_CLICK, 0, 0);
        } else {
            BYTE keys[256] = {};
            GetKeyboardState(keys);
            keys[VK_CONTROL] |= 0x80;
            SetKeyboardState(keys);
            SendMessageW(Part(win32::TableDialog::kTable), WM_KEYDOWN, 'C', 0);
            keys[VK_CONTROL] = 0;
            SetKeyboardState(keys);
        }
        std::string text;
        if (OpenClipboard(nullptr)) {
            if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
                text = Utf8FromWide(static_cast<const wchar_t*>(GlobalLock(data)));
                GlobalUnlock(data);
            }
            CloseClipboard();
        }
        std::erase(text, '\r');
        return text;
    }
    void AnswerQuestion(bool yes) override { yes_ = yes; }
    bool Remove(int row) override {
        Select({row});
        return ClickIfEnabled(Part(win32::TableDialog::kRemove));
    }
    std::string Outcome() const override {
        std::string text = Text(Part(win32::TableDialog::kOutcome));
        std::erase(text, '\r');
        return text;
    }
    void CloseDialog() override { SendMessageW(Dialog(), WM_CLOSE, 0, 0); }

private:
    HWND Dialog() const { return window_->Dialog(); }
    HWND Part(int id) const { return GetDlgItem(Dialog(), id); }
    void Select(const std::vector<int>& rows) {
        HWND table = Part(win32::TableDialog::kTable);
        ListView_SetItemState(table, -1, 0, LVIS_SELECTED);
        for (int row : rows) {
            ListView_SetItemState(table, row, LVIS_SELECTED, LVIS_SELECTED);
        }
    }
    // As a mouse click: a disabled button takes none.
    static bool ClickIfEnabled(HWND button) {
        const bool enabled = IsWindowEnabled(button) != FALSE;
        if (enabled) {
            SendMessageW(button, BM_CLICK, 0, 0);
        }
        return enabled;
    }

    // The fixed captions, each measured in its control's font against the control's width less
    // the edges and indents the system draws inside it; the labels that show folders and the
    // status line hold no fixed caption.
    std::vector<std::string> CutCaptions() const {
        std::vector<std::string> cut;
        HDC dc = GetDC(window_->Handle());
        for (const ControlSpec& entry : MainWindowLayout()) {
            if (entry.name == names::lbl_folder || entry.name == names::lbl_Mods ||
                entry.name == names::lbl_status) {
                continue;
            }
            HWND control = window_->ControlHandle({entry.name, entry.index});
            const std::wstring text = WideFromUtf8(Text(control)).value_or(L"");
            const auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0));
            HGDIOBJ before = SelectObject(dc, font);
            SIZE extent{};
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
            SelectObject(dc, before);
            const std::string kind = Kind(control);
            const int inset = kind == "label" ? 0 : kind == "button" ? 3 : 8;
            RECT room{};
            GetClientRect(control, &room);
            if (extent.cx > room.right - 2 * At96Inverse(inset)) {
                cut.push_back("caption: " + ControlKey(entry.name, entry.index));
            }
        }
        ReleaseDC(window_->Handle(), dc);
        return cut;
    }
    // Each column against its header and its cells, as the list measures them, with the room
    // the list leaves on either side of a cell's text.
    std::vector<std::string> CutColumns() const {
        std::vector<std::string> cut;
        HWND table = Part(win32::TableDialog::kTable);
        const std::vector<std::string> rows = Rows();
        for (int column = 0; column < Header_GetItemCount(ListView_GetHeader(table)); ++column) {
            int needed = 0;
            for (const std::string& row : rows) {
                const std::wstring text = WideFromUtf8(Cell(row, column)).value_or(L"");
                needed = std::max(needed, ListView_GetStringWidth(table, text.c_str()));
            }
            if (ListView_GetColumnWidth(table, column) < needed + At96Inverse(12)) {
                cut.push_back("column: " + Cell(rows.front(), column));
            }
        }
        return cut;
    }
    static int ScreenDpi() {
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        return dpi;
    }
    // Pixels at the screen's dpi as pixels at 96 dpi, and back.
    static int At96(int pixels) { return MulDiv(pixels, 96, ScreenDpi()); }
    static int At96Inverse(int pixels) { return MulDiv(pixels, ScreenDpi(), 96); }
    // The work area of the window's monitor.
    static RECT WorkArea(HWND window) {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
        return monitor.rcWork;
    }
    // Notes the window where it does not stand as a dialog of the owner belongs.
    void NoteMisplaced(const std::string& what, HWND window, HWND owner) {
        const auto screen = [](const RECT& r) {
            return ScreenRect{r.left, r.top, r.right - r.left, r.bottom - r.top};
        };
        const ScreenRect shown = screen(Rect(window));
        WindowDriver::NoteMisplaced(
            what, shown,
            PlaceDialog(screen(WorkArea(owner)), screen(Rect(owner)), shown.width, shown.height));
    }
    // Runs `show`, which shows a box for real and waits for it; once it shows, notes where it
    // stands and presses its OK.
    void ShowBoxAndClose(HWND owner, const std::function<void()>& show) {
        static Win32Driver* self;
        static HWND box_owner;
        self = this;
        box_owner = owner;
        misplaced_.push_back("box never showed");  // till it does
        SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR timer, DWORD) {
            KillTimer(nullptr, timer);
            HWND box = GetActiveWindow();
            self->misplaced_.pop_back();
            self->NoteMisplaced("box", box, box_owner);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
        show();
    }
    // Runs the folder browser's own callback on a stand-in dialog far off the screen, as the
    // shell does once its dialog is made, noting where it put the stand-in; true when the
    // callback chose a start folder.
    bool RunBrowserCallback(const BROWSEINFOW& request) {
        if (request.lpfn == nullptr) {
            misplaced_.push_back("picker left where the shell puts it");
            return false;
        }
        HWND stand_in = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 30000, 30000, 320, 400,
                                        nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        bool start_folder = false;
        const auto chooses = [](HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                DWORD_PTR chose) {
            if (message == BFFM_SETSELECTIONW || message == BFFM_SETEXPANDED) {
                *reinterpret_cast<bool*>(chose) = true;
            }
            return DefSubclassProc(window, message, wparam, lparam);
        };
        SetWindowSubclass(stand_in, chooses, 0, reinterpret_cast<DWORD_PTR>(&start_folder));
        request.lpfn(stand_in, BFFM_INITIALIZED, 0, request.lParam);
        NoteMisplaced("picker", stand_in, request.hwndOwner);
        DestroyWindow(stand_in);
        return start_folder;
    }

    static constexpr UINT kYieldMessage = WM_APP + 0x3FF0;
    static LRESULT CALLBACK RunAtYield(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                       UINT_PTR, DWORD_PTR self) {
        if (message == kYieldMessage) {
            std::exchange(reinterpret_cast<Win32Driver*>(self)->action_, nullptr)();
            return 0;
        }
        return DefSubclassProc(window, message, wparam, lparam);
    }
    // Closes the window; the end of the program it asked for is not this test program's.
    void Stop() {
        window_.reset();
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    static bool IsMainWindow(HWND window) {
        wchar_t window_class[64] = {};
        GetClassNameW(window, window_class, 64);
        return window != nullptr &&
               std::wstring_view(window_class) == win32::MainWindow::kClassName;
    }
    static RECT Rect(HWND window) {
        RECT rect{};
        GetWindowRect(window, &rect);
        return rect;
    }
    RECT ClientOrigin() const {
        POINT origin{0, 0};
        ClientToScreen(window_->Handle(), &origin);
        return RECT{origin.x, origin.y, origin.x, origin.y};
    }
    static std::string Kind(HWND control) {
        wchar_t system_class[16] = {};
        GetClassNameW(control, system_class, 16);
        if (lstrcmpiW(system_class, L"Static") == 0) {
            return "label";
        }
        const auto style = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
        return style == BS_GROUPBOX ? "frame" : "button";
    }
    // The control's key from its id, which is its place in the layout table.
    static std::string Key(HWND control) {
        const int place = GetDlgCtrlID(control) - win32::kFirstControlId;
        const std::vector<ControlSpec>& layout = MainWindowLayout();
        if (control == nullptr || place < 0 || place >= static_cast<int>(layout.size())) {
            return "";
        }
        const ControlSpec& entry = layout[static_cast<std::size_t>(place)];
        return ControlKey(entry.name, entry.index);
    }

    win32::WindowThread thread_;
    std::function<void()> action_;
    bool yes_ = false;  // the answer to the next question
    std::unique_ptr<platform::RegistryBackend> registry_;
    std::unique_ptr<win32::MainWindow> window_;
};

}  // namespace

std::unique_ptr<WindowDriver> MakeWindowDriver() {
    return std::make_unique<Win32Driver>();
}

}  // namespace rv::test
