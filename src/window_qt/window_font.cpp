// SPDX-License-Identifier: MIT
#include "window_qt/window_font.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

#include "form/caption_fit.h"

namespace rv {

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Measures in the font at each size, against the room the style gives each control: the whole
// width of a label, the contents of a button, the frame around a frame's title.
class QtCaptionMeasure final : public CaptionMeasure {
public:
    explicit QtCaptionMeasure(QFont& font) : font_(font) {}
    void UseSize(double point_size) override { font_.setPointSizeF(point_size); }
    bool Fits(const FixedCaption& caption) override;

private:
    QFont& font_;
};

bool QtCaptionMeasure::Fits(const FixedCaption& caption) {
    const QFontMetrics metrics(font_);
    const QString text = FromUtf8(caption.text);
    const int width = metrics.horizontalAdvance(text);
    const QRect rect(0, 0, TwipsToPixels(caption.rect.width), TwipsToPixels(caption.rect.height));
    const QStyle* style = QApplication::style();
    switch (caption.kind) {
        case ControlKind::Label:
            return width <= rect.width();
        case ControlKind::Button: {
            QStyleOptionButton option;
            option.rect = rect;
            option.fontMetrics = metrics;
            option.text = text;
            return width <= style->subElementRect(QStyle::SE_PushButtonContents, &option).width();
        }
        case ControlKind::Frame: {
            QStyleOptionGroupBox option;
            option.rect = rect;
            option.fontMetrics = metrics;
            option.text = text;
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
    font.setWeight(QFont::Bold);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    QtCaptionMeasure measure(font);
    FittingPointSize(measure);
    return font;
}

}  // namespace rv
