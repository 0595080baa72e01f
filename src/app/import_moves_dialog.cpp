#include "import_moves_dialog.h"

#include "toolkit/text.h"

#include <QListWidget>
#include <QPushButton>

namespace hoofer {

TfrmImportMoves::TfrmImportMoves(QWidget *owner, const std::vector<std::string> &items)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle("Import Moves");
    if (owner)
        setFont(owner->font());
    setFixedSize(220, 260);
    lstMoves = new QListWidget(this);
    lstMoves->setGeometry(8, 8, 204, 212);
    for (const std::string &text : items) {
        auto *item = new QListWidgetItem(toolkit::ToQt(text), lstMoves);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    btnImport = new QPushButton("Import", this);
    btnImport->setGeometry(56, 228, 75, 25);
    btnImport->setEnabled(false);
    btnImport->setDefault(true);
    btnCancel = new QPushButton("Cancel", this);
    btnCancel->setGeometry(137, 228, 75, 25);
    connect(lstMoves, &QListWidget::itemChanged, this, [this] { btnImport->setEnabled(CanAccept()); });
    connect(btnImport, &QPushButton::clicked, this, [this] { done(toolkit::kModalResultOk); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { done(toolkit::kModalResultCancel); });
}

int TfrmImportMoves::ItemCount() const
{
    return lstMoves->count();
}

void TfrmImportMoves::SetChecked(int index, bool checked)
{
    if (QListWidgetItem *item = lstMoves->item(index))
        item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

std::vector<int> TfrmImportMoves::Checked() const
{
    std::vector<int> checked;
    for (int i = 0; i < lstMoves->count(); ++i)
        if (lstMoves->item(i)->checkState() == Qt::Checked)
            checked.push_back(i);
    return checked;
}

bool TfrmImportMoves::CanAccept() const
{
    return !Checked().empty();
}

int TfrmImportMoves::Execute()
{
    // The close box and Escape give 0: not accepted.
    return exec();
}

} // namespace hoofer
