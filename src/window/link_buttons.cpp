#include "window/link_buttons.h"

#include <QDesktopServices>
#include <QString>
#include <algorithm>
#include <array>
#include <utility>

namespace rv {

namespace {

// Two captions show the host they open; the two sub-domain pages go by a shorter alias.
constexpr std::array kLinkButtons = {
    LinkButton{"cmd_home1", "example.org", "https://example.org/"},
    LinkButton{"cmd_home2", "bbs.example.org", "https://forum.example.org/"},
    LinkButton{"cmd_home3", "www.winehq.org", "https://www.winehq.org/"},
    LinkButton{"Command1", "dl.example.org", "https://files.example.org/"},
};

void OpenInBrowser(const QUrl& address) {
    QDesktopServices::openUrl(address);
}

UrlOpener& Opener() {
    static UrlOpener opener = OpenInBrowser;
    return opener;
}

}  // namespace

std::span<const LinkButton> LinkButtons() {
    return kLinkButtons;
}

void OpenLink(std::string_view button) {
    const auto link = std::ranges::find(kLinkButtons, button, &LinkButton::name);
    if (link == kLinkButtons.end()) {
        return;
    }
    Opener()(QUrl(
        QString::fromUtf8(link->address.data(), static_cast<qsizetype>(link->address.size()))));
}

void SetUrlOpener(UrlOpener opener) {
    Opener() = opener ? std::move(opener) : UrlOpener(OpenInBrowser);
}

}  // namespace rv
