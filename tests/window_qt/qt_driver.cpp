// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "form/control_layout.h"
#include "window/window_driver.h"
#include "window_qt/archive_warning.h"
#include "window_qt/main_window.h"
#include "window_qt/mod_get_folder.h"
#include "window_qt/open_link.h"

namespace rv::test {
namespace {

// The Qt window under the offscreen platform, over the Wine prefix of the test registry; the
// picker, the warning box and the browser are answered through the window's seams.
class QtDriver : public WindowDriver {
public:
    QtDriver() {
        modGetFolder::SetDirectoryPicker([this](QWidget* owner, const QString& title,
                                                const QString& start, QFileDialog::Options how) {
            dialogs_.push_back("picker|" + title.toStdString() + "|" +
                               (how == QFileDialog::ShowDirsOnly ? "folders only" : "any files") +
                               (start.isEmpty() ? ", no start folder" : ", a start folder") +
                               (owner == nullptr ? ", no owner" : ", an owner"));
            return QFile::decodeName(TakeAnswer().c_str());
        });
        SetMessageBoxRunner([this](QMessageBox& box) {
            dialogs_.push_back(
                "warning|" + box.windowTitle().toStdString() + "|" + box.text().toStdString() +
                (box.standardButtons() == QMessageBox::Ok ? "|OK" : "|other buttons") +
                (box.icon() == QMessageBox::NoIcon ? ",no icon" : ",an icon") +
                (box.windowModality() == Qt::ApplicationModal ? ",modal" : ",not modal"));
        });
        SetUrlOpener(
            [this](const QUrl& address) { links_.push_back(address.toString().toStdString()); });
    }
    ~QtDriver() override {
        window_.reset();
        modGetFolder::SetDirectoryPicker({});
        SetMessageBoxRunner({});
        SetUrlOpener({});
    }

    void Start(const std::vector<std::string>& arguments) override {
        window_.reset();
        dialogs_.clear();
        QStringList qt_arguments;
        for (const std::string& argument : arguments) {
            qt_arguments << QFile::decodeName(argument.c_str());
        }
        registry_ = platform::OpenSystemRegistry();
        window_ = std::make_unique<MainWindow>(*registry_, qt_arguments);
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }
    void Click(std::string_view button) override {
        QTest::mouseClick(Widget(button), Qt::LeftButton);
    }
    std::string Caption(Control control) const override { return window_->Caption(control); }
    bool Enabled(Control control) const override {
        return Widget(ControlKey(control))->isEnabled();
    }
    bool Busy() const override { return window_->cursor().shape() == Qt::WaitCursor; }
    bool Open() const override {
        QApplication::processEvents();  // a close the form put off is carried out by then
        return window_ && window_->isVisible();
    }
    std::string Focused() const override {
        (void)QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; });
        const QWidget* focused = QApplication::focusWidget();
        return focused ? focused->objectName().toStdString() : "";
    }
    std::vector<ShownControl> Controls() const override {
        std::vector<ShownControl> shown;
        for (const QWidget* widget : window_->findChildren<QWidget*>()) {
            const QRect r = widget->geometry();
            const bool label = qobject_cast<const QLabel*>(widget) != nullptr;
            const bool frame = qobject_cast<const QGroupBox*>(widget) != nullptr;
            QString text = widget->property(frame ? "title" : "text").toString();
            shown.push_back(
                {widget->objectName().toStdString(),
                 label   ? "label"
                 : frame ? "frame"
                         : "button",
                 widget->parentWidget()->objectName().toStdString(), r.x(), r.y(), r.width(),
                 r.height(),
                 (label ? text : text.replace(QStringLiteral("&&"), QStringLiteral("&")))
                     .toStdString()});
        }
        return shown;
    }
    std::vector<std::string> TabOrder() const override {
        std::vector<std::string> order;
        QWidget* first = Widget(names::cmd_Open2);
        QWidget* next = first;
        do {
            if (next->focusPolicy() & Qt::TabFocus) {
                order.push_back(next->objectName().toStdString());
            }
        } while ((next = next->nextInFocusChain()) != first && order.size() < 100);
        return order;
    }

    void AtNextYield(std::function<void()> action) override {
        QTimer::singleShot(0, window_.get(), std::move(action));
    }
    void Close() override {
        window_->close();
        QApplication::processEvents();
    }

private:
    QWidget* Widget(std::string_view name) const {
        auto* widget = window_->findChild<QWidget*>(QString::fromUtf8(name));
        if (widget == nullptr) {
            ADD_FAILURE() << "no control " << name;
            return window_.get();
        }
        return widget;
    }

    std::unique_ptr<platform::RegistryBackend> registry_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace

std::unique_ptr<WindowDriver> MakeWindowDriver() {
    return std::make_unique<QtDriver>();
}

}  // namespace rv::test
