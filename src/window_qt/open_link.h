// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

namespace rv {

// Opens the address in the user's web browser and returns at once.
void OpenUrl(const QString& address);

// What opens an address; tests record here instead of starting a browser. An empty function
// restores the desktop's browser.
using UrlOpener = std::function<void(const QUrl& address)>;
void SetUrlOpener(UrlOpener opener);

}  // namespace rv
