// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <memory>

#include "form/installed_addons.h"

class QPlainTextEdit;
class QPushButton;

namespace rv {

class RowTable;

// "Installed add-ons": the receipts of the game folder, Remove for the selected one while it can
// be removed, and below them what the last removal did.
class InstalledAddOnsDialog : public QDialog {
public:
    InstalledAddOnsDialog(std::unique_ptr<InstalledAddOns> list, QWidget* parent);

protected:
    // Closing is refused while a removal runs, but gives up its wait for the game folder.
    void reject() override;

private:
    void RemoveSelected();
    void UpdateRemove();

    std::unique_ptr<InstalledAddOns> list_;
    RowTable* table_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPlainTextEdit* outcome_ = nullptr;
};

}  // namespace rv
