// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QMenu>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>

#include "form/form_view.h"
#include "form/main_form.h"
#include "platform/data_folder.h"
#include "platform/registry.h"
#include "window_qt/launcher_progress.h"

class QDialog;

namespace rv {

// The one window of the program in Qt: builds its 75 controls from the layout table, routes
// every click to the main form and carries out what the form asks of a view. Runs the start-up,
// then takes a folder from the arguments (the program's, without its own name) before it shows.
class MainWindow : public QWidget, public FormView {
    Q_OBJECT

public:
    // Receipts are kept in the receipt folder: the user's data folder unless one is given.
    explicit MainWindow(platform::RegistryBackend& registry, const QStringList& arguments = {},
                        const std::string& receipt_folder = platform::UserDataFolder(),
                        QWidget* parent = nullptr);

    void SetCaption(Control control, const std::string& text) override;
    std::string Caption(Control control) const override;
    void SetEnabled(Control control, bool enabled) override;
    void SetToolTip(Control control, const std::string& text) override;
    void SetMousePointer(MousePointer pointer) override;
    bool ProcessPendingMessages() override;
    void ShowProgress(const PassProgress& progress) override;
    void ShowArchiveWarning() override;
    void ShowMessage(std::string_view title, const std::string& text) override;
    std::string BrowseForFolder() override;
    void OpenLink(std::string_view address) override;
    void CloseWindow() override;
    void ShowFileList(std::unique_ptr<FileList> list) override;
    void ShowInstalledAddOns(std::unique_ptr<InstalledAddOns> list) override;
    bool Confirm(std::string_view title, const ListQuestion& question) override;
    void PostWakeUp() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // A folder dropped onto the window is taken as the folder argument is.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildControls();
    void SetTabOrder();
    void Place(QDialog& dialog) const;
    void OpenDialog(QDialog* dialog);
    QWidget* Find(Control control) const;
    void ShowToolTip(Control control);
    void ShowContextMenu(const QPoint& at);

    QHash<QString, QWidget*> controls_;
    QHash<QString, QString> tool_tips_;  // as the form set them, by control key
    QPointer<QMenu> menu_;
    LauncherProgress launcher_;
    MainForm form_;
};

}  // namespace rv
