// SPDX-License-Identifier: MIT
#include "form/link_buttons.h"

#include <algorithm>
#include <array>

#include "core/control_names.h"

namespace rv {

namespace {

// Two captions show the host they open; the two sub-domain pages go by a shorter alias.
constexpr std::array kLinkButtons = {
    LinkButton{names::cmd_home1, "example.org", "https://example.org/"},
    LinkButton{names::cmd_home2, "bbs.example.org", "https://forum.example.org/"},
    LinkButton{names::cmd_home3, "www.winehq.org", "https://www.winehq.org/"},
    LinkButton{names::Command1, "dl.example.org", "https://files.example.org/"},
};

}  // namespace

std::span<const LinkButton> LinkButtons() {
    return kLinkButtons;
}

std::string_view LinkAddress(std::string_view button) {
    const auto link = std::ranges::find(kLinkButtons, button, &LinkButton::name);
    return link == kLinkButtons.end() ? std::string_view() : link->address;
}

}  // namespace rv
