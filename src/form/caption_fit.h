// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>
#include <vector>

#include "form/control_layout.h"

// The size of the window's one font: the layout's size where every fixed caption fits its
// control, smaller where the machine's face is wider than the layout's.
namespace rv {

inline constexpr double kLayoutPointSize = 8.25;
// Below this a caption is no longer legible; a face that needs less is taken at this size.
inline constexpr double kSmallestPointSize = 6.0;
inline constexpr double kPointSizeStep = 0.25;

// A caption the window shows, with the control that shows it.
struct FixedCaption {
    ControlKind kind = ControlKind::Label;
    TwipsRect rect;  // the control's
    std::string_view text;
};

// Every fixed caption: each control's at creation, the link buttons' web addresses, and the
// texts that the two editions give the game band.
std::vector<FixedCaption> FixedCaptions();

// How a window measures its captions in its own font and controls.
class CaptionMeasure {
public:
    virtual ~CaptionMeasure() = default;
    // The font at this size is the one the following Fits calls measure in.
    virtual void UseSize(double point_size) = 0;
    // Whether the caption, drawn in that font, stays inside the room its control gives it.
    virtual bool Fits(const FixedCaption& caption) = 0;
};

// The largest size from kLayoutPointSize down in steps of kPointSizeStep at which every fixed
// caption fits; kSmallestPointSize where none does. The measure is left at the size returned.
double FittingPointSize(CaptionMeasure& measure);

}  // namespace rv
