#pragma once

#include "toolkit/dialogs.h"

#include <QDialog>

#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace hoofer {

/// File > Import Moves' question: the moves of the chosen routine as a list
/// of check boxes, all unchecked, and "Import", which stays disabled until a
/// move is checked, and "Cancel".
class TfrmImportMoves : public QDialog, public toolkit::ItemChoice {
public:
    TfrmImportMoves(QWidget *owner, const std::vector<std::string> &items);

    int ItemCount() const override;
    void SetChecked(int index, bool checked) override;
    std::vector<int> Checked() const override;
    bool CanAccept() const override;
    int Execute() override;

    QListWidget *lstMoves;
    QPushButton *btnImport;
    QPushButton *btnCancel;
};

} // namespace hoofer
