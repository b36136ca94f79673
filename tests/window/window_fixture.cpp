#include "window/window_fixture.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QTest>
#include <stdexcept>

#include "window/archive_warning.h"
#include "window/link_buttons.h"
#include "window/mod_get_folder.h"
#include "window/sample_files.h"

namespace rv::test {

void WindowTest::SetUp() {
    ASSERT_TRUE(temp_.isValid());
    prefix_ = temp_.filePath("prefix");
    addon_ = temp_.filePath("addon");
    modGetFolder::SetDirectoryPicker([this](QWidget* owner, const QString& title,
                                            const QString& start, QFileDialog::Options options) {
        picker_calls_.push_back({owner, title, start, options});
        if (picker_answers_.empty()) {
            ADD_FAILURE() << "the folder picker opened without an answer";
            return QString();
        }
        QString answer = picker_answers_.front();
        picker_answers_.pop_front();
        return answer;
    });
    SetMessageBoxRunner([this](QMessageBox& box) {
        boxes_.push_back({box.windowTitle(), box.text(), box.icon(), box.standardButtons(),
                          box.buttons().size(), box.windowModality()});
    });
    SetUrlOpener([this](const QUrl& address) { opened_.push_back(address); });
}

void WindowTest::TearDown() {
    window_.reset();
    modGetFolder::SetDirectoryPicker({});
    SetMessageBoxRunner({});
    SetUrlOpener({});
    EXPECT_TRUE(picker_answers_.empty()) << "an answer was left for a picker that never opened";
}

QString WindowTest::GameFolder(const char* edition) const {
    return prefix_ + "/drive_c/Games/" + edition;
}

MainWindow& WindowTest::Open(const std::vector<const char*>& registered) {
    std::vector<RegisteredEdition> editions;
    for (const char* edition : registered) {
        editions.push_back({EditionKey(edition), std::string("C:\\Games\\") + edition});
        MakeGameFolder(GameFolder(edition));
    }
    MakeWinePrefix(prefix_, editions);
    registry_ = platform::OpenSystemRegistry();
    window_ = std::make_unique<MainWindow>(*registry_);
    window_->show();
    if (!QTest::qWaitForWindowExposed(window_.get())) {
        throw std::runtime_error("the window never showed");
    }
    return *window_;
}

QWidget* WindowTest::Widget(const QString& name) const {
    if (name == window_->objectName()) {
        return window_.get();
    }
    auto* widget = window_->findChild<QWidget*>(name);
    if (widget == nullptr) {
        throw std::runtime_error("no control " + name.toStdString());
    }
    return widget;
}

QPushButton* WindowTest::Button(const QString& name) const {
    return qobject_cast<QPushButton*>(Widget(name));
}

QLabel* WindowTest::Label(const QString& name) const {
    return qobject_cast<QLabel*>(Widget(name));
}

QString WindowTest::Text(const QString& name) const {
    QWidget* widget = Widget(name);
    if (widget == window_.get()) {
        return widget->windowTitle();
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
        return frame->title();
    }
    throw std::runtime_error(name.toStdString() + " has no caption");
}

void WindowTest::Click(const QString& name) {
    QTest::mouseClick(Button(name), Qt::LeftButton);
}

void WindowTest::ChooseAddOn(const QString& folder) {
    AnswerPicker(folder);
    Click("cmd_Open2");
}

std::map<QString, QString> WindowTest::Snapshot() const {
    std::map<QString, QString> state;
    state[window_->objectName()] = window_->windowTitle();
    for (QWidget* widget : window_->findChildren<QWidget*>()) {
        if (!qobject_cast<QLabel*>(widget) && !qobject_cast<QPushButton*>(widget) &&
            !qobject_cast<QGroupBox*>(widget)) {
            continue;
        }
        state[widget->objectName()] =
            Text(widget->objectName()) + (widget->isEnabled() ? "|on" : "|off");
    }
    state["GameFolder"] = QString::fromStdString(window_->Installer().GameFolder);
    state["AddOnFolder"] = QString::fromStdString(window_->Installer().AddOnFolder);
    return state;
}

QString Counter(const char* array, int group) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(group);
}

}  // namespace rv::test
