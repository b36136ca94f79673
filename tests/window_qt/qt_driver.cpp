// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <optional>

#include "form/control_layout.h"
#include "form/dialog_placement.h"
#include "form/form_view.h"
#include "window/window_driver.h"
#include "window_qt/archive_warning.h"
#include "window_qt/caption_fits.h"
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
                               (owner == window_.get() ? ", modal" : ", not modal"));
            return QFile::decodeName(TakeAnswer().c_str());
        });
        SetMessageBoxRunner([this](QDialog& dialog) {
            auto* message = qobject_cast<QMessageBox*>(&dialog);
            if (message == nullptr) {
                Answer(dialog);
                return;
            }
            CheckPlace(*message);
            const QMessageBox& box = *message;
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
        misplaced_.clear();
        QStringList qt_arguments;
        for (const std::string& argument : arguments) {
            qt_arguments << QFile::decodeName(argument.c_str());
        }
        registry_ = platform::OpenSystemRegistry();
        window_ = std::make_unique<MainWindow>(*registry_, qt_arguments, receipts_.Path());
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }
    void Click(std::string_view button) override {
        QTest::mouseClick(Widget(button), Qt::LeftButton);
    }
    std::string Caption(Control control) const override { return window_->Caption(control); }
    std::string ToolTip(Control control) const override {
        return Widget(ControlKey(control))->toolTip().toStdString();
    }
    bool WaitFor(const std::function<bool()>& done) override {
        QApplication::processEvents();
        return QTest::qWaitFor(done);
    }
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
            const char* kind = label ? "label" : (frame ? "frame" : "button");
            shown.push_back(
                {widget->objectName().toStdString(), kind,
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

    std::vector<std::string> CutOff() const override {
        std::vector<std::string> cut;
        for (const QString& name : CutCaptions(*window_, window_->font())) {
            cut.push_back("caption: " + name.toStdString());
        }
        cut.insert(cut.end(), misplaced_.begin(), misplaced_.end());
        if (QDialog* dialog = Dialog()) {
            const QRect area = window_->screen()->availableGeometry();
            if (!area.contains(dialog->frameGeometry())) {
                cut.push_back("dialog: outside the work area");
            }
            const QTableWidget* table = Table();
            for (int column = 0; column < table->columnCount(); ++column) {
                const int width = table->horizontalHeader()->sectionSize(column);
                int needed = table->horizontalHeader()->sectionSizeHint(column);
                for (int row = 0; row < table->rowCount(); ++row) {
                    needed = std::max(
                        needed,
                        table->sizeHintForIndex(table->model()->index(row, column)).width());
                }
                if (width < needed) {
                    cut.push_back("column: " +
                                  table->horizontalHeaderItem(column)->text().toStdString());
                }
            }
        }
        return cut;
    }
    void Drop(const std::vector<std::string>& items) override {
        QMimeData data;
        QList<QUrl> urls;
        for (const std::string& item : items) {
            urls << QUrl::fromLocalFile(QFile::decodeName(item.c_str()));
        }
        data.setUrls(urls);
        const QPointF middle = window_->rect().center();
        QDragEnterEvent enter(middle.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window_.get(), &enter);
        QDropEvent drop(middle, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window_.get(), &drop);
    }
    void MoveToCorner() override {
        window_->move(window_->screen()->availableGeometry().topLeft());
    }

    std::string ReceiptFolder() const override { return receipts_.Path(); }
    // A right click on a label, then a click on the entry; or the menu key at the focus, then
    // the keys that choose the entry.
    bool ChooseMenuEntry(std::string_view entry, bool keyboard) override {
        if (keyboard) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Menu);
        } else {
            QTest::mouseClick(window_->windowHandle(), Qt::RightButton, {},
                              Widget(names::lbl_status)->mapTo(window_.get(), QPoint(4, 4)));
        }
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        EXPECT_NE(menu, nullptr) << "no context menu";
        const auto place = std::find(kContextMenu.begin(), kContextMenu.end(), entry);
        for (auto step = kContextMenu.begin(); menu != nullptr && keyboard && step <= place;
             ++step) {
            QTest::keyClick(menu, Qt::Key_Down);
        }
        for (QAction* action : menu != nullptr ? menu->actions() : QList<QAction*>()) {
            if (action->text() == QString::fromUtf8(entry)) {
                keyboard ? QTest::keyClick(menu, Qt::Key_Return)
                         : QTest::mouseClick(menu, Qt::LeftButton, {},
                                             menu->actionGeometry(action).center());
            }
        }
        return Dialog() != nullptr;
    }
    std::vector<std::string> Rows() const override {
        const QTableWidget* table = Table();
        return TableRows(table->rowCount(), table->columnCount(), [table](int row, int column) {
            return (row < 0 ? table->horizontalHeaderItem(column) : table->item(row, column))
                ->text()
                .toStdString();
        });
    }
    void ClickColumn(int column) override {
        QHeaderView* header = Table()->horizontalHeader();
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            {header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
             header->height() / 2});
    }
    void Filter(std::string_view choice) override {
        auto* filter = Dialog()->findChild<QComboBox*>(QStringLiteral("stateFilter"));
        filter->setCurrentIndex(filter->findText(QString::fromUtf8(choice)));
    }
    std::string Copy(const std::vector<int>& rows, bool button) override {
        SelectRows(rows);
        QGuiApplication::clipboard()->clear();
        button ? QTest::mouseClick(Dialog()->findChild<QPushButton*>(QStringLiteral("copy")),
                                   Qt::LeftButton)
               : QTest::keyClick(Table(), Qt::Key_C, Qt::ControlModifier);
        return QGuiApplication::clipboard()->text().toStdString();
    }
    void AnswerQuestion(bool yes) override { question_answer_ = yes; }
    bool Remove(int row) override {
        SelectRows({row});
        auto* remove = Dialog()->findChild<QPushButton*>(QStringLiteral("remove"));
        const bool enabled = remove->isEnabled();
        QTest::mouseClick(remove, Qt::LeftButton);  // a disabled button takes no click
        return enabled;
    }
    std::string Outcome() const override {
        return Dialog()->findChild<QPlainTextEdit*>()->toPlainText().toStdString();
    }
    void CloseDialog() override {
        QTest::keyClick(Dialog(), Qt::Key_Escape);
        EXPECT_TRUE(QTest::qWaitFor([] { return Dialog() == nullptr; }));
    }

private:
    // Gives the box the show event it gets as it shows, when it takes its size and its place, and
    // notes it when it did not stand where a dialog of the main window belongs. A box of the
    // start-up, before the window is made, is not looked at.
    void CheckPlace(QMessageBox& box) {
        if (!window_) {
            return;
        }
        QShowEvent showing;
        QCoreApplication::sendEvent(&box, &showing);
        const auto rect = [](const QRect& r) {
            return ScreenRect{r.x(), r.y(), r.width(), r.height()};
        };
        const QRect main = window_->frameGeometry();
        // The box has no frame until it shows; it gets one as wide as the main window's.
        const QRect shown(box.frameGeometry().topLeft(),
                          box.frameGeometry().size() + main.size() - window_->geometry().size());
        NoteMisplaced("box", rect(shown),
                      PlaceDialog(rect(window_->screen()->availableGeometry()), rect(main),
                                  shown.width(), shown.height()));
    }

    // The dialog that holds the window's input, if any, and its table.
    static QDialog* Dialog() { return qobject_cast<QDialog*>(QApplication::activeModalWidget()); }
    QTableWidget* Table() const { return Dialog()->findChild<QTableWidget*>(); }
    // Clicks the first row, then the others with Ctrl held.
    void SelectRows(const std::vector<int>& rows) {
        for (std::size_t at = 0; at < rows.size(); ++at) {
            QTest::mouseClick(Table()->viewport(), Qt::LeftButton,
                              at == 0 ? Qt::NoModifier : Qt::ControlModifier,
                              Table()->visualRect(Table()->model()->index(rows[at], 0)).center());
        }
    }
    // The question dialog: its title, text and lines, then the answer clicked.
    void Answer(QDialog& dialog) {
        std::string lines;
        auto* list = dialog.findChild<QListWidget*>();
        for (int row = 0; list != nullptr && row < list->count(); ++row) {
            lines += (row == 0 ? "" : "\n") + list->item(row)->text().toStdString();
        }
        auto* text = dialog.findChild<QLabel*>();
        dialogs_.push_back("question|" + dialog.windowTitle().toStdString() + "|" +
                           (text != nullptr ? text->text().toStdString() : "") + "|" + lines);
        EXPECT_TRUE(question_answer_.has_value()) << "a question without an answer";
        dialog.findChild<QDialogButtonBox*>()
            ->button(question_answer_.value_or(false) ? QDialogButtonBox::Yes
                                                      : QDialogButtonBox::No)
            ->click();
        question_answer_.reset();
    }

    QWidget* Widget(std::string_view name) const {
        auto* widget = window_->findChild<QWidget*>(QString::fromUtf8(name));
        if (widget == nullptr) {
            ADD_FAILURE() << "no control " << name;
            return window_.get();
        }
        return widget;
    }

    TempFolder receipts_;
    std::optional<bool> question_answer_;
    std::unique_ptr<platform::RegistryBackend> registry_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace

std::unique_ptr<WindowDriver> MakeWindowDriver() {
    return std::make_unique<QtDriver>();
}

}  // namespace rv::test
