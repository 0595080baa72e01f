#include "string_entry_dialog.h"

#include "toolkit/edit_box.h"
#include "toolkit/text.h"

#include <QKeyEvent>

#include <algorithm>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace hoofer {

TfrmSingleStringEntry::TfrmSingleStringEntry(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle("Enter String");
    if (owner)
        setFont(owner->font());
    lblTitle = new QLabel("Title", this);
    lblTitle->move(8, 0);
    edtTheText = new toolkit::TEdit(this);
    edtTheText->move(8, 16);
    btnAccept = new QPushButton("Accept", this);
    btnAccept->setGeometry(8, 40, 75, 25);
    btnCancel = new QPushButton("Cancel", this);
    btnCancel->setGeometry(88, 40, 75, 25);
    // Neither button is a default or escape button of the form.
    for (QPushButton *b : {btnAccept, btnCancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    setTabOrder(edtTheText, btnAccept);
    setTabOrder(btnAccept, btnCancel);
    connect(btnAccept, &QPushButton::clicked, this, [this] { done(toolkit::kModalResultOk); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { done(toolkit::kModalResultCancel); });
    // Enter in the edit box is Accept, and the key goes no further.
    connect(edtTheText, &QLineEdit::returnPressed, this, [this] { done(toolkit::kModalResultOk); });
    FitWidth();
}

void TfrmSingleStringEntry::FitWidth()
{
    // 167 pixels wide at the least, wider where the prompt or the title
    // needs it; the window manager's buttons and icon take about 120 pixels
    // of the title bar.
    constexpr int kLeastWidth = 167, kTitleBarRoom = 120;
    lblTitle->adjustSize();
    const int width = std::max({kLeastWidth, lblTitle->width() + 16,
                                fontMetrics().horizontalAdvance(windowTitle()) + kTitleBarRoom});
    setFixedSize(width, 69);
    edtTheText->resize(width - 12, 21);
}

std::string TfrmSingleStringEntry::TheText() const
{
    return toolkit::FromQt(edtTheText->text());
}

void TfrmSingleStringEntry::SetTheText(const std::string &text)
{
    // A text set by the program stays whole; only typing and pasting are limited.
    edtTheText->SetText(toolkit::ToQt(text));
}

void TfrmSingleStringEntry::SetMaxLength(int length)
{
    m_maxLength = length;
    edtTheText->SetMaxLength(length);
}

void TfrmSingleStringEntry::SetTitle(const std::string &title)
{
    m_title = title;
    lblTitle->setText(toolkit::ToQt(title));
    FitWidth();
}

std::string TfrmSingleStringEntry::Prompt() const
{
    return toolkit::FromQt(lblTitle->text());
}

int TfrmSingleStringEntry::Execute()
{
    return exec();
}

void TfrmSingleStringEntry::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmSingleStringEntry::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    edtTheText->setFocus();
    edtTheText->selectAll();
}

} // namespace hoofer
