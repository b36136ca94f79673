// SPDX-License-Identifier: MIT
#include "window_qt/window_font.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <algorithm>
#include <map>
#include <vector>

#include "core/control_names.h"
#include "edition/edition_table.h"
#include "form/control_layout.h"
#include "form/link_buttons.h"

namespace rv {

namespace {

constexpr qreal kLayoutPointSize = 8.25;
constexpr qreal kSizeStep = 0.25;
// Below this a caption is no longer legible; a face that needs less is taken at this size.
constexpr qreal kSmallestPointSize = 6.0;

// A caption the window shows with the size of the control that shows it, in pixels.
struct Caption {
    ControlKind kind;
    QSize size;
    QString text;
};

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Every fixed caption: each control's at creation, the link buttons' web addresses, and the
// texts that the two editions give the game band.
std::vector<Caption> FixedCaptions() {
    std::multimap<std::string_view, std::string_view> later;  // by control name
    for (const LinkButton& link : LinkButtons()) {
        later.emplace(link.name, link.caption);
    }
    for (const GameEdition edition : {GameEdition::RV2003, GameEdition::RV2004}) {
        const EditionTexts& row = EditionRow(edition);
        later.emplace(names::Frame2, row.frame_caption);
        later.emplace(names::lbl_folder, row.folder_prompt);
        later.emplace(names::cmd_gameChange, row.switch_caption);
    }
    std::vector<Caption> captions;
    for (const ControlSpec& control : MainWindowLayout()) {
        const QSize size(TwipsToPixels(control.rect.width), TwipsToPixels(control.rect.height));
        captions.push_back({control.kind, size, FromUtf8(control.caption)});
        const auto [first, last] = later.equal_range(control.name);
        for (auto it = first; it != last; ++it) {
            captions.push_back({control.kind, size, FromUtf8(it->second)});
        }
    }
    return captions;
}

// Whether the caption, drawn in the font, stays inside the room the style gives it: the whole
// width of a label, the contents of a button, the frame around a frame's title.
bool Fits(const QFont& font, const Caption& caption) {
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(caption.text);
    const QRect rect(QPoint(0, 0), caption.size);
    const QStyle* style = QApplication::style();
    switch (caption.kind) {
        case ControlKind::Label:
            return width <= rect.width();
        case ControlKind::Button: {
            QStyleOptionButton option;
            option.rect = rect;
            option.fontMetrics = metrics;
            option.text = caption.text;
            return width <= style->subElementRect(QStyle::SE_PushButtonContents, &option).width();
        }
        case ControlKind::Frame: {
            QStyleOptionGroupBox option;
            option.rect = rect;
            option.fontMetrics = metrics;
            option.text = caption.text;
            option.textAlignment = Qt::AlignLeft;
            option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
            return rect.contains(
                style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel));
        }
    }
    return false;
}

}  // namespace

QFont WindowFont() {
    QFont font;
    // The face the layout was drawn in and its TrueType successor, then faces that share one set
    // of widths a little wider than theirs; without any of them, the machine's sans-serif face.
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                      QStringLiteral("Arial"), QStringLiteral("Nimbus Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(kLayoutPointSize);
    font.setWeight(QFont::Bold);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    const std::vector<Caption> captions = FixedCaptions();
    while (font.pointSizeF() > kSmallestPointSize &&
           !std::all_of(captions.begin(), captions.end(),
                        [&](const Caption& caption) { return Fits(font, caption); })) {
        font.setPointSizeF(font.pointSizeF() - kSizeStep);
    }
    return font;
}

}  // namespace rv
