#pragma once

#include <QHash>
#include <QString>
#include <QWidget>

#include "core/installer.h"
#include "core/window_operations.h"
#include "edition/edition_selection.h"
#include "platform/registry.h"

namespace rv {

// The one window of the program: builds its 75 controls from the layout table, owns the
// workflow's state and routes every click to its handler. Runs the start-up before it first
// shows.
class MainWindow : public QWidget, public WindowOperations {
    Q_OBJECT

public:
    explicit MainWindow(platform::RegistryBackend& registry, QWidget* parent = nullptr);

    void SetCaption(Control control, const std::string& text) override;
    std::string Caption(Control control) const override;
    void SetEnabled(Control control, bool enabled) override;
    void SetToolTip(Control control, const std::string& text) override;
    void SetMousePointer(MousePointer pointer) override;
    bool ProcessPendingMessages() override;

    RV2003_2004_Add_On_Installer& Installer() { return installer_; }

    void cmd_Open1_Click();
    void cmd_Open2_Click();
    void cmd_read_Click();
    void cmd_write_Click();
    void cmd_gameChange_Click();

protected:
    // Closing while a pass runs is put off: the pass stops at its next yield, then the window
    // closes.
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void ConnectButtons();
    void SetTabOrder();
    void FocusFirstButton();
    void CloseIfAsked();
    void ChooseFolder(std::string& folder, std::string_view label, std::string_view next_button);
    bool Usable(const std::string& folder);
    QWidget* Find(Control control) const;

    QHash<QString, QWidget*> controls_;
    RV2003_2004_Add_On_Installer installer_;
    EditionSelection edition_;
    bool closing_ = false;
};

}  // namespace rv
