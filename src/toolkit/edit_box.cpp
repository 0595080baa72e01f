#include "edit_box.h"

#include <QValidator>

#include <algorithm>

namespace hoofer::toolkit {

namespace {
// QLineEdit's own "no limit".
constexpr int kUnlimited = 32767;
} // namespace

/// Refuses an edit that leaves the text longer than the limit, unless the
/// edit shortens it (a longer text set by the program); Qt undoes a refused
/// edit.
class TEdit::Limit : public QValidator {
public:
    explicit Limit(QObject *parent) : QValidator(parent) {}
    State validate(QString &input, int &) const override
    {
        const auto length = input.size();
        return settingText || limit == 0 || length <= limit || length < current ? Acceptable : Invalid;
    }
    int limit = 0;
    qsizetype current = 0;  // the length before the edit
    bool settingText = false;
};

TEdit::TEdit(QWidget *parent) : QLineEdit(parent), m_limit(new Limit(this))
{
    setValidator(m_limit);
    connect(this, &QLineEdit::textChanged, this, [this](const QString &text) { m_limit->current = text.size(); });
}

void TEdit::SetText(const QString &text)
{
    // Qt cuts a set text to its maximum length: lifted while it is set.
    m_limit->settingText = true;
    QLineEdit::setMaxLength(kUnlimited);
    setText(text);
    Apply();
    m_limit->settingText = false;
}

void TEdit::SetMaxLength(int length)
{
    m_maxLength = std::max(length, 0);
    Apply();
}

void TEdit::Apply()
{
    // Qt sets its own text again when its maximum changes.
    const bool wasSetting = m_limit->settingText;
    m_limit->settingText = true;
    m_limit->limit = m_maxLength;
    // Within the limit, Qt's own maximum cuts a long paste to fit.
    const int own = m_maxLength > 0 ? std::max<int>(m_maxLength, static_cast<int>(text().size())) : kUnlimited;
    if (QLineEdit::maxLength() != own)
        QLineEdit::setMaxLength(own);
    m_limit->settingText = wasSetting;
}

} // namespace hoofer::toolkit
