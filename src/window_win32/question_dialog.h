// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <functional>
#include <string_view>

#include "form/list_question.h"

namespace rv::win32 {

// The parts of the question dialog beside its Yes (IDYES) and No (IDNO) buttons; a test driver
// finds them by these ids.
enum QuestionPart : int { kQuestionText = 100, kQuestionList };

// Asks the question in a modal window built in code: its text, a list of its lines with a scroll
// bar, then Yes and No, No the default (Escape and closing answer No). It stands over the owner
// inside the work area of the owner's monitor, scaled with the monitor's dpi, in the main
// window's font; the owner takes no input meanwhile. True when the user answers Yes.
bool AskListQuestion(HWND owner, std::string_view title, const ListQuestion& question);

// What runs the dialog once it shows, instead of its modal loop; tests read it and press one of
// its buttons there. An empty function restores the loop.
using QuestionRunner = std::function<void(HWND dialog)>;
void SetQuestionRunner(QuestionRunner runner);

}  // namespace rv::win32
