// SPDX-License-Identifier: MIT
#include "window_qt/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>
#include <QTimer>
#include <cassert>
#include <vector>

#include "form/control_layout.h"
#include "form/dialog_placement.h"
#include "window_qt/accessible_names.h"
#include "window_qt/archive_warning.h"
#include "window_qt/file_list_dialog.h"
#include "window_qt/installed_addons_dialog.h"
#include "window_qt/mod_get_folder.h"
#include "window_qt/open_link.h"
#include "window_qt/window_font.h"

namespace rv {

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect ToPixels(const TwipsRect& rect) {
    return {TwipsToPixels(rect.left), TwipsToPixels(rect.top), TwipsToPixels(rect.width),
            TwipsToPixels(rect.height)};
}

// Buttons and frames read '&' as a mnemonic marker; captions are shown as they stand.
QString EscapeMnemonic(QString text) {
    return text.replace(u'&', QStringLiteral("&&"));
}
QString UnescapeMnemonic(QString text) {
    return text.replace(QStringLiteral("&&"), QStringLiteral("&"));
}

// The caption a control shows, '&' as typed.
QString ShownCaption(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
        return UnescapeMnemonic(button->text());
    }
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) {
        return UnescapeMnemonic(frame->title());
    }
    return widget->windowTitle();
}

// What a screen reader says of the control, after each change of its caption.
void Describe(QWidget* widget) {
    widget->setAccessibleName(AccessibleName(widget->objectName(), ShownCaption(widget)));
    widget->setAccessibleDescription(AccessibleDescription(widget->objectName()));
}

bool IsFolderLabel(Control control) {
    return control.name == names::lbl_folder || control.name == names::lbl_Mods;
}

QWidget* CreateControl(const ControlSpec& entry, QWidget* container) {
    const QString caption = FromUtf8(entry.caption);
    switch (entry.kind) {
        case ControlKind::Frame:
            return new QGroupBox(EscapeMnemonic(caption), container);
        case ControlKind::Button:
            return new QPushButton(EscapeMnemonic(caption), container);
        case ControlKind::Label: {
            auto* label = new QLabel(caption, container);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment((entry.right_aligned ? Qt::AlignRight : Qt::AlignLeft) |
                                Qt::AlignTop);
            return label;
        }
    }
    return nullptr;
}

QIcon WindowIcon() {
    QIcon icon;
    for (int size : {16, 32, 48}) {
        icon.addFile(QStringLiteral(":/icons/rv-addon-installer-%1.png").arg(size),
                     QSize(size, size));
    }
    return icon;
}

}  // namespace

MainWindow::MainWindow(platform::RegistryBackend& registry, const QStringList& arguments,
                       const std::string& receipt_folder, QWidget* parent)
    : QWidget(parent), form_(*this, registry, receipt_folder) {
    setObjectName(FromUtf8(names::RV2003_2004_Add_On_Installer));
    setWindowTitle(FromUtf8(CreationCaption()));
    setWindowIcon(WindowIcon());
    setFont(WindowFont());
    setFixedSize(TwipsToPixels(kClientWidthTwips), TwipsToPixels(kClientHeightTwips));
    BuildControls();
    SetTabOrder();
    setAcceptDrops(true);
    form_.Form_Load();
    std::vector<std::string> folders;
    for (const QString& argument : arguments) {
        folders.push_back(modGetFolder::PathFromQt(argument));
    }
    form_.OpenFolderArgument(folders);
    controls_.value(FromUtf8(form_.FirstFocus()))->setFocus();
}

void MainWindow::BuildControls() {
    controls_.insert(objectName(), this);
    for (const ControlSpec& entry : MainWindowLayout()) {
        QWidget* container =
            entry.container.empty()
                ? this
                : controls_.value(FromUtf8(ControlKey(entry.container, entry.container_index)));
        QWidget* control = CreateControl(entry, container);
        control->setObjectName(FromUtf8(ControlKey(entry.name, entry.index)));
        control->setGeometry(ToPixels(entry.rect));
        controls_.insert(control->objectName(), control);
        Describe(control);
        if (auto* button = qobject_cast<QPushButton*>(control)) {
            connect(button, &QPushButton::clicked, this,
                    [this, name = entry.name] { form_.Click(name); });
        }
    }
}

void MainWindow::SetTabOrder() {
    QWidget* previous = nullptr;
    for (std::string_view name : TabOrder()) {
        QWidget* button = controls_.value(FromUtf8(name));
        button->setFocusPolicy(Qt::StrongFocus);
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, button);
        }
        previous = button;
    }
}

// A name the layout does not know is a mistake in the code that asks for it.
QWidget* MainWindow::Find(Control control) const {
    QWidget* widget = controls_.value(FromUtf8(ControlKey(control)));
    assert(widget != nullptr && "no control of this name in the layout");
    return widget;
}

void MainWindow::SetCaption(Control control, const std::string& text) {
    QWidget* widget = Find(control);
    const QString caption = QString::fromStdString(text);
    if (widget == this) {
        setWindowTitle(caption);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(caption);
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        button->setText(EscapeMnemonic(caption));
    } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
        frame->setTitle(EscapeMnemonic(caption));
    }
    Describe(widget);
    if (IsFolderLabel(control)) {
        ShowToolTip(control);
    }
}

std::string MainWindow::Caption(Control control) const {
    return ShownCaption(Find(control)).toStdString();
}

void MainWindow::SetEnabled(Control control, bool enabled) {
    Find(control)->setEnabled(enabled);
}

void MainWindow::SetToolTip(Control control, const std::string& text) {
    tool_tips_[FromUtf8(ControlKey(control))] = QString::fromStdString(text);
    ShowToolTip(control);
}

// A folder label's tool tip starts with the whole folder, which a long path cuts off in the
// label. A tool tip that looks like markup is shown as rich text: a file name such as
// "<b>x</b>.u" would lose its tags. Such a text goes as rich text that shows it as typed.
void MainWindow::ShowToolTip(Control control) {
    QWidget* widget = Find(control);
    QString tip = tool_tips_.value(widget->objectName());
    if (IsFolderLabel(control)) {
        tip = ShownCaption(widget) + (tip.isEmpty() ? QString() : u'\n' + tip);
    }
    widget->setToolTip(Qt::mightBeRichText(tip) ? Qt::convertFromPlainText(tip) : tip);
}

void MainWindow::SetMousePointer(MousePointer pointer) {
    if (pointer == MousePointer::Hourglass) {
        setCursor(Qt::WaitCursor);
    } else {
        unsetCursor();
    }
}

bool MainWindow::ProcessPendingMessages() {
    QCoreApplication::processEvents();
    return true;
}

void MainWindow::ShowProgress(const PassProgress& progress) {
    launcher_.Show(progress);
}

void MainWindow::ShowArchiveWarning() {
    rv::ShowArchiveWarning(this);
}

void MainWindow::ShowMessage(std::string_view title, const std::string& text) {
    rv::ShowMessage(this, title, text);
}

std::string MainWindow::BrowseForFolder() {
    return modGetFolder::BrowseForFolder(this);
}

void MainWindow::OpenLink(std::string_view address) {
    OpenUrl(FromUtf8(address));
}

void MainWindow::CloseWindow() {
    QTimer::singleShot(0, this, &QWidget::close);
}

// A queued call to this object is safe from any thread, and Qt drops it with the object.
void MainWindow::PostWakeUp() {
    QMetaObject::invokeMethod(
        this, [this] { form_.WakeUp(); }, Qt::QueuedConnection);
}

void MainWindow::ShowFileList(std::unique_ptr<FileList> list) {
    OpenDialog(new FileListDialog(std::move(list), this));
}

void MainWindow::ShowInstalledAddOns(std::unique_ptr<InstalledAddOns> list) {
    OpenDialog(new InstalledAddOnsDialog(std::move(list), this));
}

// Window-modal and not waited for, so the main window takes no input while the dialog shows.
// A dialog stands over the main window inside the work area of the main window's screen, its
// frame taken to be as wide as the main window's.
void MainWindow::Place(QDialog& dialog) const {
    const QSize frame = frameGeometry().size() - geometry().size();
    const QRect area = screen()->availableGeometry();
    const QRect main = frameGeometry();
    const QSize wanted = dialog.size() + frame;
    const ScreenRect place = PlaceDialog({area.x(), area.y(), area.width(), area.height()},
                                         {main.x(), main.y(), main.width(), main.height()},
                                         wanted.width(), wanted.height());
    dialog.resize(QSize(place.width, place.height) - frame);
    dialog.move(place.left, place.top);
}

void MainWindow::OpenDialog(QDialog* dialog) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    Place(*dialog);
    dialog->open();
}

bool MainWindow::Confirm(std::string_view title, const ListQuestion& question) {
    return AskListQuestion(QApplication::activeModalWidget(), title, question,
                           [this](QDialog& dialog) { Place(dialog); });
}

// A right click anywhere on the window, or the menu key where the platform makes a context menu
// event of it.
void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    ShowContextMenu(event->globalPos());
}

// The menu key and Shift+F10, wherever the focus is in the window, open the menu at the focus.
void MainWindow::keyPressEvent(QKeyEvent* event) {
    const bool menu_key = event->key() == Qt::Key_Menu && event->modifiers() == Qt::NoModifier;
    const bool shift_f10 = event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier;
    if (!menu_key && !shift_f10) {
        QWidget::keyPressEvent(event);
        return;
    }
    const QWidget* focused = focusWidget() != nullptr ? focusWidget() : this;
    ShowContextMenu(focused->mapToGlobal(focused->rect().center()));
}

// The menu does not wait for a choice, so a pass goes on meanwhile; the form refuses an entry
// chosen during one. A menu already open (the key and the platform's event for it) stays the one.
void MainWindow::ShowContextMenu(const QPoint& at) {
    if (menu_ != nullptr && menu_->isVisible()) {
        return;
    }
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("contextMenu"));
    menu_->setAttribute(Qt::WA_DeleteOnClose);
    for (std::string_view entry : kContextMenu) {
        connect(menu_->addAction(FromUtf8(entry)), &QAction::triggered, this,
                [this, entry] { form_.ChooseMenuEntry(entry); });
    }
    menu_->popup(at);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> items;
    for (const QUrl& url : event->mimeData()->urls()) {
        items.push_back(modGetFolder::PathFromQt(url.toLocalFile()));
    }
    event->acceptProposedAction();
    form_.DropItems(items);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (form_.CloseRequested()) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace rv
