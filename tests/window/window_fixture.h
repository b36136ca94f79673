#pragma once

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "window/main_window.h"

QT_BEGIN_NAMESPACE
// Failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace rv::test {

// The real window over a real Wine prefix in a temporary folder, with the picker, the warning
// box and the browser answered by the test.
class WindowTest : public ::testing::Test {
protected:
    struct PickerCall {
        QWidget* owner;
        QString title;
        QString start;
        QFileDialog::Options options;
    };
    struct BoxShown {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        qsizetype button_count;
        Qt::WindowModality modality;
    };

    void SetUp() override;
    void TearDown() override;

    // Opens the window over a prefix in which the named editions ("RV2003", "RV2004") are
    // registered with their game folders C:\Games\<edition>.
    MainWindow& Open(const std::vector<const char*>& registered = {"RV2004"});

    QWidget* Widget(const QString& name) const;
    QPushButton* Button(const QString& name) const;
    QLabel* Label(const QString& name) const;
    QString Text(const QString& name) const;

    void Click(const QString& name);
    // Answers the next folder picker with `folder`; empty text is a cancel.
    void AnswerPicker(const QString& folder) { picker_answers_.push_back(folder); }
    // Chooses the add-on folder through cmd_Open2, the box and the picker.
    void ChooseAddOn(const QString& folder);

    // Every caption and Enabled state of the window, to tell that nothing changed.
    std::map<QString, QString> Snapshot() const;

    // The game folder of an edition, as the file system sees it.
    QString GameFolder(const char* edition) const;

    QTemporaryDir temp_;
    QString prefix_;
    QString addon_;
    std::deque<QString> picker_answers_;
    std::vector<PickerCall> picker_calls_;
    std::vector<BoxShown> boxes_;
    std::vector<QUrl> opened_;
    std::unique_ptr<platform::RegistryBackend> registry_;
    std::unique_ptr<MainWindow> window_;
};

// The counter label of a category array in a counter group, e.g. Counter("lbl_MapCounter", 2).
QString Counter(const char* array, int group);

}  // namespace rv::test
