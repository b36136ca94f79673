#pragma once

#include <QUrl>
#include <functional>
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

// Opens the address of the named link button in the user's web browser and returns at once.
void OpenLink(std::string_view button);

// What opens an address; tests record here instead of starting a browser. An empty function
// restores the desktop's browser.
using UrlOpener = std::function<void(const QUrl& address)>;
void SetUrlOpener(UrlOpener opener);

}  // namespace rv
