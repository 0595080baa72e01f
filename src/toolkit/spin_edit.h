#pragma once

#include <QLineEdit>
#include <QWidget>
#include <functional>
#include <optional>

class QToolButton;

namespace hoofer::toolkit {

/// A number box with up and down arrows that behaves as the window's handlers
/// expect, which a stock QSpinBox does not:
/// - SetValue shows the value clamped to Min..Max (unclamped while Min == Max)
///   and, when the shown text changes, runs OnChange at once, nested, before
///   it returns;
/// - Value() reads the integer typed, unclamped; text that is not an integer
///   reads as Min;
/// - every user edit (a key typed, an arrow click, Up/Down) runs OnChange; an
///   arrow sets Value() ± 1 through SetValue;
/// - losing the focus with a value outside the range (Min != Max) sets the
///   clamped value;
/// - changing Min or Max leaves the shown text alone.
/// A value set by the program is the box's text at once, but reaches the
/// line edit only when the events next run (or anything reaches the line
/// edit first, or Editor() is asked for): a drag sets the box at every mouse
/// move, and laying the text out each time cost more than the move.
class TSpinEdit : public QWidget {
public:
    explicit TSpinEdit(QWidget *parent = nullptr);

    int Value() const;
    void SetValue(int value);
    int MinValue() const { return m_min; }
    int MaxValue() const { return m_max; }
    void SetMinValue(int v) { m_min = v; }
    void SetMaxValue(int v) { m_max = v; }
    QString Text() const { return m_text; }
    /// The line edit, showing Text().
    QLineEdit *Editor() const;

    std::function<void()> OnChange;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void Step(int delta);
    void RunChange();
    /// Takes the line edit's text as the box's.
    void Keep(const QString &text);
    /// Hands a text set by the program to the line edit, if one waits.
    void ShowText() const;

    QLineEdit *m_edit;
    QToolButton *m_up;
    QToolButton *m_down;
    QString m_text;
    std::optional<int> m_number;  // m_text read as an integer
    mutable bool m_textWaits = false;
    bool m_showPosted = false;
    int m_min = 0;
    int m_max = 0;
};

} // namespace hoofer::toolkit
