// SPDX-License-Identifier: MIT
#include "form/caption_fit.h"

#include <algorithm>
#include <map>

#include "core/control_names.h"
#include "edition/edition_table.h"
#include "form/link_buttons.h"

namespace rv {

std::vector<FixedCaption> FixedCaptions() {
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
    std::vector<FixedCaption> captions;
    for (const ControlSpec& control : MainWindowLayout()) {
        captions.push_back({control.kind, control.rect, control.caption});
        const auto [first, last] = later.equal_range(control.name);
        for (auto it = first; it != last; ++it) {
            captions.push_back({control.kind, control.rect, it->second});
        }
    }
    return captions;
}

double FittingPointSize(CaptionMeasure& measure) {
    const std::vector<FixedCaption> captions = FixedCaptions();
    double size = kLayoutPointSize;
    measure.UseSize(size);
    while (size > kSmallestPointSize &&
           !std::all_of(captions.begin(), captions.end(),
                        [&](const FixedCaption& caption) { return measure.Fits(caption); })) {
        size = std::max(size - kPointSizeStep, kSmallestPointSize);
        measure.UseSize(size);
    }
    return size;
}

}  // namespace rv
