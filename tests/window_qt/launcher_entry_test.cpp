// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QTest>
#include <QVariantMap>

#include "core/control_names.h"
#include "support/sample_addon.h"
#include "window/window_driver.h"

namespace rv::test {
namespace {

// The launcher entry's updates as a desktop receives them, one line each: "<entry> <progress>
// shown", or "<entry> hidden".
class LauncherEntryListener : public QObject {
    Q_OBJECT

public:
    QStringList updates;

public slots:
    void Update(const QString& entry, const QVariantMap& properties) {
        updates << entry + u' ' +
                       (properties.value(QStringLiteral("progress-visible")).toBool()
                            ? QString::number(
                                  properties.value(QStringLiteral("progress")).toDouble(), 'f', 3) +
                                  QStringLiteral(" shown")
                            : QStringLiteral("hidden"));
    }
};

// A write on the real window sends its progress over the session bus, rising from none to all
// of its files, then hides it; the read before it sends nothing. Needs a session bus of its own:
// CTest runs it under dbus-run-session.
TEST(LauncherEntry, ShowsAWritesProgressThenHidesIt) {
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("listener"));
    if (!bus.isConnected()) {
        GTEST_SKIP() << "no session bus";
    }
    LauncherEntryListener listener;
    ASSERT_TRUE(bus.connect({}, {}, QStringLiteral("com.canonical.Unity.LauncherEntry"),
                            QStringLiteral("Update"), &listener,
                            SLOT(Update(QString, QVariantMap))));
    std::unique_ptr<WindowDriver> w = MakeWindowDriver();
    const std::string addon = w->Root() + "/Add-on", game = w->Root() + "/Game";
    MakeSampleAddOn(addon, game);
    w->SetRegistered({{"RV2004", game}});
    w->Start({addon});
    w->Click(names::cmd_read);
    w->Click(names::cmd_write);

    const QString entry = QStringLiteral("application://rv-addon-installer.desktop ");
    QStringList expected;
    for (int done = 0; done <= 13; ++done) {
        expected << entry + QString::number(done / 13.0, 'f', 3) + QStringLiteral(" shown");
    }
    expected << entry + QStringLiteral("hidden");
    EXPECT_TRUE(QTest::qWaitFor([&] { return listener.updates.size() >= expected.size(); }));
    EXPECT_EQ(listener.updates.join(u'\n').toStdString(), expected.join(u'\n').toStdString());
    QDBusConnection::disconnectFromBus(QStringLiteral("listener"));
}

}  // namespace
}  // namespace rv::test

#include "launcher_entry_test.moc"
