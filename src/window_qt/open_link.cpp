// SPDX-License-Identifier: MIT
#include "window_qt/open_link.h"

#include <QDesktopServices>
#include <utility>

namespace rv {

namespace {

void OpenInBrowser(const QUrl& address) {
    QDesktopServices::openUrl(address);
}

UrlOpener& Opener() {
    static UrlOpener opener = OpenInBrowser;
    return opener;
}

}  // namespace

void OpenUrl(const QString& address) {
    Opener()(QUrl(address));
}

void SetUrlOpener(UrlOpener opener) {
    Opener() = opener ? std::move(opener) : UrlOpener(OpenInBrowser);
}

}  // namespace rv
