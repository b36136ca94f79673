#include "window/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "platform/file_system.h"
#include "window/archive_warning.h"
#include "window/control_layout.h"
#include "window/link_buttons.h"
#include "window/mod_get_folder.h"
#include "window/window_font.h"

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

MainWindow::MainWindow(platform::RegistryBackend& registry, QWidget* parent)
    : QWidget(parent), installer_(*this), edition_(installer_, registry) {
    setObjectName(FromUtf8(kMainWindowName));
    setWindowTitle(FromUtf8(kCreationCaption));
    setWindowIcon(WindowIcon());
    setFont(WindowFont());
    setFixedSize(TwipsToPixels(kClientWidthTwips), TwipsToPixels(kClientHeightTwips));
    BuildControls();
    SetTabOrder();
    ConnectButtons();
    edition_.Form_Load();
    FocusFirstButton();
}

// The focus starts on the first enabled button of the focus order once the window shows.
void MainWindow::FocusFirstButton() {
    for (std::string_view name : TabOrder()) {
        QWidget* button = controls_.value(FromUtf8(name));
        if (button->isEnabled()) {
            button->setFocus();
            return;
        }
    }
}

void MainWindow::BuildControls() {
    controls_.insert(objectName(), this);
    for (const ControlSpec& entry : MainWindowLayout()) {
        QWidget* container =
            entry.container.empty()
                ? this
                : controls_.value(ControlKey(entry.container, entry.container_index));
        QWidget* control = CreateControl(entry, container);
        control->setObjectName(ControlKey(entry.name, entry.index));
        control->setGeometry(ToPixels(entry.rect));
        controls_.insert(control->objectName(), control);
    }
    for (const LinkButton& link : LinkButtons()) {
        SetCaption(Control{link.name}, std::string(link.caption));
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

void MainWindow::ConnectButtons() {
    const auto button = [this](std::string_view name) {
        return qobject_cast<QPushButton*>(controls_.value(FromUtf8(name)));
    };
    connect(button("cmd_Open1"), &QPushButton::clicked, this, &MainWindow::cmd_Open1_Click);
    connect(button("cmd_Open2"), &QPushButton::clicked, this, &MainWindow::cmd_Open2_Click);
    connect(button("cmd_read"), &QPushButton::clicked, this, &MainWindow::cmd_read_Click);
    connect(button("cmd_write"), &QPushButton::clicked, this, &MainWindow::cmd_write_Click);
    connect(button("cmd_gameChange"), &QPushButton::clicked, this,
            &MainWindow::cmd_gameChange_Click);
    for (const LinkButton& link : LinkButtons()) {
        connect(button(link.name), &QPushButton::clicked, this,
                [name = link.name] { OpenLink(name); });
    }
}

QWidget* MainWindow::Find(Control control) const {
    return controls_.value(ControlKey(control.name, control.index));
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
}

std::string MainWindow::Caption(Control control) const {
    const QWidget* widget = Find(control);
    if (widget == this) {
        return windowTitle().toStdString();
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text().toStdString();
    }
    if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
        return UnescapeMnemonic(button->text()).toStdString();
    }
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) {
        return UnescapeMnemonic(frame->title()).toStdString();
    }
    return {};
}

void MainWindow::SetEnabled(Control control, bool enabled) {
    if (QWidget* widget = Find(control)) {
        widget->setEnabled(enabled);
    }
}

void MainWindow::SetToolTip(Control control, const std::string& text) {
    if (QWidget* widget = Find(control)) {
        widget->setToolTip(QString::fromStdString(text));
    }
}

void MainWindow::SetMousePointer(MousePointer pointer) {
    if (pointer == MousePointer::Hourglass) {
        setCursor(Qt::WaitCursor);
    } else {
        unsetCursor();
    }
}

bool MainWindow::ProcessPendingMessages() {
    if (!closing_) {
        QCoreApplication::processEvents();
    }
    return !closing_;
}

void MainWindow::cmd_Open1_Click() {
    if (!installer_.PassRunning()) {
        ChooseFolder(installer_.GameFolder, "lbl_folder", "cmd_Open2");
    }
}

void MainWindow::cmd_Open2_Click() {
    if (!installer_.PassRunning()) {
        ShowArchiveWarning(this);
        ChooseFolder(installer_.AddOnFolder, "lbl_Mods", "cmd_read");
    }
}

// Lets the user pick a folder; a usable one is stored, shown in its label, and enables the next
// button of the chain.
void MainWindow::ChooseFolder(std::string& folder, std::string_view label,
                              std::string_view next_button) {
    const std::string picked = modGetFolder::TrimSpaces(modGetFolder::BrowseForFolder(nullptr));
    if (!Usable(picked)) {
        return;
    }
    folder = picked;
    SetCaption(Control{label}, folder);
    SetEnabled(Control{next_button}, true);
}

// A cancelled picker gives empty text: the earlier folder, its label and the buttons stay. So
// they do when the chosen folder is not found under the name the picker gave (bytes that are
// not UTF-8 in a Linux name come back as replacement characters, outer spaces are trimmed):
// such a folder would only read as an empty add-on, so the status line says why nothing changed.
bool MainWindow::Usable(const std::string& folder) {
    if (folder.empty()) {
        return false;
    }
    if (!platform::PathExists(folder)) {
        SetCaption(Control{"lbl_status"}, "Folder not found under this name: " + folder);
        return false;
    }
    return true;
}

void MainWindow::cmd_read_Click() {
    installer_.cmd_read_Click();
    CloseIfAsked();
}

void MainWindow::cmd_write_Click() {
    installer_.cmd_write_Click();
    CloseIfAsked();
}

void MainWindow::cmd_gameChange_Click() {
    edition_.cmd_gameChange_Click();
}

void MainWindow::CloseIfAsked() {
    if (closing_ && !installer_.PassRunning()) {
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (installer_.PassRunning()) {
        closing_ = true;
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace rv
