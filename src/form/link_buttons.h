// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string_view>

// The four buttons along the bottom edge, each opening one web page.
namespace rv {

struct LinkButton {
    std::string_view name;
    std::string_view caption;
    std::string_view address;
};

std::span<const LinkButton> LinkButtons();

// The page the named button opens; empty for a control that is no link button.
std::string_view LinkAddress(std::string_view button);

}  // namespace rv
