// SPDX-License-Identifier: MIT
#include "window_qt/launcher_progress.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QVariantMap>

namespace rv {

namespace {

// The desktop entry the package installs, and the object the signals come from.
constexpr const char* kDesktopEntry = "application://rv-addon-installer.desktop";
constexpr const char* kObjectPath = "/rv_addon_installer/launcher_entry";
constexpr const char* kInterface = "com.canonical.Unity.LauncherEntry";

void Send(const QVariantMap& properties) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    QDBusMessage update =
        QDBusMessage::createSignal(QString::fromLatin1(kObjectPath),
                                   QString::fromLatin1(kInterface), QStringLiteral("Update"));
    update << QString::fromLatin1(kDesktopEntry) << properties;
    bus.send(update);
}

}  // namespace

void LauncherProgress::Show(const PassProgress& progress) {
    if (progress.total > 0) {
        Send({{QStringLiteral("progress"),
               static_cast<double>(progress.done) / static_cast<double>(progress.total)},
              {QStringLiteral("progress-visible"), true}});
        visible_ = true;
    } else if (visible_) {
        Send({{QStringLiteral("progress-visible"), false}});
        visible_ = false;
    }
}

}  // namespace rv
