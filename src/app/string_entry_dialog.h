#pragma once

#include "toolkit/dialogs.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace hoofer {

namespace toolkit {
class TEdit;
}

/// The program's one small question: a prompt, a one-line edit box, Accept
/// and Cancel. Callers create it, fill TheText, MaxLength and Title, show it
/// through the dialog service, read it on exactly toolkit::kModalResultOk, and destroy it.
/// Enter in the edit box accepts; Escape does nothing; the close box cancels.
class TfrmSingleStringEntry : public QDialog, public toolkit::StringEntry {
public:
    explicit TfrmSingleStringEntry(QWidget *owner);

    std::string TheText() const override;
    void SetTheText(const std::string &text) override;
    /// 0 means no limit; limits typing and pasting only.
    void SetMaxLength(int length);
    int MaxLength() const override { return m_maxLength; }
    void SetTitle(const std::string &title);
    std::string Prompt() const override;
    int Execute() override;

    QLabel *lblTitle;
    toolkit::TEdit *edtTheText;
    QPushButton *btnAccept;
    QPushButton *btnCancel;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    /// As wide as the prompt and the title need, the edit box spanning it.
    void FitWidth();
    int m_maxLength = 0;
    std::string m_title;
};

} // namespace hoofer
