// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/window_operations.h"
#include "form/dialog_placement.h"
#include "support/test_registry.h"

namespace rv::test {

// A control as the window shows it. Rectangles are in pixels at 96 dots per inch, relative to
// the container's outer top-left corner, as the layout table places them in twips.
struct ShownControl {
    std::string key;        // "lbl_MapCounter(2)"
    std::string kind;       // "frame", "label" or "button"
    std::string container;  // key of the parent; the window's own name for the bands
    int left = 0, top = 0, width = 0, height = 0;
    std::string caption;
};

// Drives one window (Qt or Win32) as a user does, so the same scenarios run against both. The
// registry and the disk are real: a game registered here is found by the window's start-up.
class WindowDriver {
public:
    virtual ~WindowDriver() {
        EXPECT_FALSE(answer_) << "an answer was left for a picker that never opened";
    }

    // A folder of the test machine, fresh for each test and removed after it, and the registry
    // the window's start-up reads: a game registered there is found.
    std::string Root() const { return registry_.Root(); }
    void SetRegistered(const std::map<std::string, std::string>& editions) {
        registry_.Register(editions);
    }
    std::string Shown(const std::string& folder) const { return registry_.Shown(folder); }

    // Creates the window as the program does, with these command-line arguments, and shows it;
    // a window started before is closed first.
    virtual void Start(const std::vector<std::string>& arguments = {}) = 0;
    // Clicks the button and returns once the click is handled.
    virtual void Click(std::string_view button) = 0;
    virtual std::string Caption(Control control) const = 0;
    virtual std::string ToolTip(Control control) const = 0;
    // Lets the window handle the messages waiting, then take its turns until `done` holds, for a
    // few seconds at most; false when it never did.
    virtual bool WaitFor(const std::function<bool()>& done) = 0;
    virtual bool Enabled(Control control) const = 0;
    virtual bool Busy() const = 0;  // the busy pointer shows
    virtual bool Open() const = 0;  // the window has not closed
    virtual std::string Focused() const = 0;
    virtual std::vector<ShownControl> Controls() const = 0;  // in creation order
    virtual std::vector<std::string> TabOrder() const = 0;   // from the first button round

    // What shows cut off, one line each: every fixed caption of the main window wider than the
    // room its control gives it ("caption: key"), and while a dialog shows, the dialog where it
    // leaves the work area of the main window's monitor ("dialog: ...") and each column narrower
    // than its header or one of its cells ("column: header"); and each box or picker shown since
    // the start that did not stand where a dialog of the main window belongs ("box at x,y, not
    // x,y").
    virtual std::vector<std::string> CutOff() const = 0;
    // Drops the items (paths) onto the main window as the file manager does.
    virtual void Drop(const std::vector<std::string>& items) = 0;
    // Moves the main window to the top-left corner of its monitor's work area.
    virtual void MoveToCorner() = 0;

    // The next folder picker returns this path (empty: cancelled).
    void AnswerPicker(const std::string& folder) { answer_ = folder; }
    // Each picker and warning box shown since the start: "picker|title|flags" with the flags the
    // toolkit asked for ("folders only, no start folder, modal"), or "warning|title|text|OK,no
    // icon,modal".
    std::vector<std::string> Dialogs() const { return dialogs_; }
    std::vector<std::string> OpenedLinks() const { return links_; }

    // Runs the action once, at the next point where a pass lets the window process messages.
    virtual void AtNextYield(std::function<void()> action) = 0;
    // Closes the window as the user does with its title bar.
    virtual void Close() = 0;

    // The context menu's dialogs. The folder the window keeps its receipts in, empty at the start
    // of each test.
    virtual std::string ReceiptFolder() const = 0;
    // Opens the window's context menu as the user does, with a right click on the window or,
    // when `keyboard`, with the menu key, and chooses the entry. True once its dialog shows,
    // false when none opened.
    virtual bool ChooseMenuEntry(std::string_view, bool /*keyboard*/) = 0;
    // The open dialog's table: the column headers, then each row shown; cells joined by '|'.
    virtual std::vector<std::string> Rows() const = 0;
    // Clicks the header of the column (0 is the first).
    virtual void ClickColumn(int) = 0;
    // Picks the state filter's entry of that text.
    virtual void Filter(std::string_view) = 0;
    // Selects the rows (by their place among the rows shown), copies them with Ctrl+C (or the
    // Copy button, when `button`) and returns the clipboard's text.
    virtual std::string Copy(const std::vector<int>&, bool /*button*/) = 0;
    // The answer the next question gets; Dialogs() lists it as "question|title|text|lines", the
    // lines of its list joined by '\n'.
    virtual void AnswerQuestion(bool /*yes*/) = 0;
    // Selects the row and clicks Remove; false, without a click, when Remove is disabled then.
    virtual bool Remove(int) = 0;
    // The lines below the table after a removal, joined by '\n'.
    virtual std::string Outcome() const = 0;
    // Closes the dialog as the user does.
    virtual void CloseDialog() = 0;

protected:
    // The answer for the picker that opens now.
    std::string TakeAnswer() {
        EXPECT_TRUE(answer_) << "the folder picker opened without an answer";
        return std::exchange(answer_, std::nullopt).value_or("");
    }
    // Notes the box or picker ("<what> at x,y, not x,y") where it does not stand as wanted.
    void NoteMisplaced(const std::string& what, const ScreenRect& shown, const ScreenRect& wanted) {
        const auto at = [](const ScreenRect& r) {
            return std::to_string(r.left) + "," + std::to_string(r.top);
        };
        if (shown.left != wanted.left || shown.top != wanted.top) {
            misplaced_.push_back(what + " at " + at(shown) + ", not " + at(wanted));
        }
    }
    std::vector<std::string> dialogs_, links_, misplaced_;

private:
    TestRegistry registry_;
    std::optional<std::string> answer_;
};

// The cell of the column (0 is the first) in a row of WindowDriver::Rows().
inline std::string Cell(std::string_view row, int column) {
    std::size_t start = 0;
    for (int skipped = 0; skipped < column; ++skipped) {
        start = row.find('|', start) + 1;
    }
    return std::string(row.substr(start, row.find('|', start) - start));
}

// The rows of a table as WindowDriver::Rows() gives them, from each cell's text (row -1: header).
inline std::vector<std::string> TableRows(int rows, int columns,
                                          const std::function<std::string(int, int)>& text) {
    std::vector<std::string> joined(static_cast<std::size_t>(rows) + 1);
    for (int row = -1; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            joined[static_cast<std::size_t>(row + 1)] +=
                (column > 0 ? "|" : "") + text(row, column);
        }
    }
    return joined;
}

// Made by each window's test program.
std::unique_ptr<WindowDriver> MakeWindowDriver();

}  // namespace rv::test
