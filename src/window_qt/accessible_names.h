// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// What a screen reader says of each control of the main window: the control's name says what it
// is and what it shows now, its description what it does where two controls look alike.
namespace rv {

// By the control's key ("lbl_MapCounter(2)") and its caption as shown: a counter its category
// and its column ("Maps, already exist: 1"), a folder or status label what it is and its text, a
// frame or button its caption.
QString AccessibleName(const QString& key, const QString& caption);

// The description of a control that looks like another one; empty for the others.
QString AccessibleDescription(const QString& key);

}  // namespace rv
