// SPDX-License-Identifier: MIT
#pragma once

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

namespace rv::test {

// Whether the widget's caption, drawn with the metrics, stays inside the room its style gives it.
inline bool CaptionFits(const QWidget& widget, const QFontMetrics& metrics) {
    QRect room = widget.rect(), used;
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        used.setSize({metrics.horizontalAdvance(label->text()), 1});
    } else if (const auto* button = qobject_cast<const QPushButton*>(&widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        used = QRect(room.topLeft(), QSize(metrics.horizontalAdvance(option.text), 1));
    } else if (const auto* frame = qobject_cast<const QGroupBox*>(&widget)) {
        QStyleOptionGroupBox option;
        option.initFrom(frame);
        option.fontMetrics = metrics;
        option.text = frame->title();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        used = frame->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                              QStyle::SC_GroupBoxLabel, frame);
    }
    return room.contains(used);
}

// The window's own controls (not a dialog's) whose fixed caption, drawn in the font, leaves the
// room the control's style gives it; the labels that show folders and the status line hold no
// fixed caption.
inline QStringList CutCaptions(const QWidget& window, const QFont& font) {
    const QFontMetrics metrics(font);
    QStringList cut;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        const QString name = widget->objectName();
        if (widget->window() == &window && name != QLatin1String("lbl_folder") &&
            name != QLatin1String("lbl_Mods") && name != QLatin1String("lbl_status") &&
            !CaptionFits(*widget, metrics)) {
            cut << name;
        }
    }
    return cut;
}

}  // namespace rv::test
