#pragma once

#include <QLineEdit>

namespace hoofer::toolkit {

/// A one-line edit box whose MaxLength limits typing and pasting only: a
/// text set by the program stays whole even when it is longer, and while it
/// is, no edit may make the text longer than MaxLength (deleting is free).
class TEdit : public QLineEdit {
public:
    explicit TEdit(QWidget *parent = nullptr);

    void SetText(const QString &text);
    /// 0 means no limit.
    void SetMaxLength(int length);
    int MaxLength() const { return m_maxLength; }

private:
    class Limit;
    void Apply();
    Limit *m_limit;
    int m_maxLength = 0;
};

} // namespace hoofer::toolkit
