#include "spin_edit.h"

#include "guard.h"
#include "model/text_number.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QToolButton>

namespace hoofer::toolkit {

namespace {
/// Posted to a box whose text waits for its line edit.
const QEvent::Type kShowText = static_cast<QEvent::Type>(QEvent::registerEventType());
} // namespace

TSpinEdit::TSpinEdit(QWidget *parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    m_edit->setText("0");
    Keep(m_edit->text());
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton *b : {m_up, m_down}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
    }
    setFocusProxy(m_edit);
    m_edit->installEventFilter(this);
    // A text set on Editor() itself. Qt tells an edit before the change, whose
    // handler may have set a text since, which then waits.
    connect(m_edit, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!m_textWaits)
            Keep(text);
    });
    connect(m_edit, &QLineEdit::textEdited, this, [this](const QString &text) {
        Keep(text);
        RunGuarded([this] { RunChange(); });
    });
    connect(m_up, &QToolButton::clicked, this, [this] { RunGuarded([this] { Step(+1); }); });
    connect(m_down, &QToolButton::clicked, this, [this] { RunGuarded([this] { Step(-1); }); });
}

void TSpinEdit::resizeEvent(QResizeEvent *)
{
    const int buttonWidth = 15;
    const int h = height();
    m_edit->setGeometry(0, 0, width() - buttonWidth, h);
    m_up->setGeometry(width() - buttonWidth, 0, buttonWidth, h / 2);
    m_down->setGeometry(width() - buttonWidth, h / 2, buttonWidth, h - h / 2);
}

int TSpinEdit::Value() const
{
    return m_number.value_or(m_min);
}

void TSpinEdit::Keep(const QString &text)
{
    m_text = text;
    m_number = ParseInteger(text.toStdString());
}

QLineEdit *TSpinEdit::Editor() const
{
    ShowText();
    return m_edit;
}

void TSpinEdit::SetValue(int value)
{
    if (m_min != m_max) {
        if (value < m_min)
            value = m_min;
        else if (value > m_max)
            value = m_max;
    }
    QString text = QString::number(value);
    if (text == m_text)
        return;
    m_text = std::move(text);
    m_number = value;
    m_textWaits = true;
    if (!m_showPosted) {
        m_showPosted = true;
        QCoreApplication::postEvent(this, new QEvent(kShowText));
    }
    RunChange();
}

void TSpinEdit::ShowText() const
{
    if (!m_textWaits)
        return;
    m_textWaits = false;
    m_edit->setText(m_text);
}

bool TSpinEdit::event(QEvent *event)
{
    if (event->type() != kShowText)
        return QWidget::event(event);
    m_showPosted = false;
    ShowText();
    return true;
}

void TSpinEdit::RunChange()
{
    if (OnChange)
        OnChange();
}

void TSpinEdit::Step(int delta)
{
    SetValue(Value() + delta);
}

bool TSpinEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_edit)
        return false;
    // Whatever reaches the line edit (a key, the focus, a paint) finds the
    // text set last.
    ShowText();
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            RunGuarded([this, key] { Step(key->key() == Qt::Key_Up ? +1 : -1); });
            return true;
        }
        // Only digits and signs may be typed; control keys pass.
        const QString text = key->text();
        if (!text.isEmpty() && text[0].isPrint() && !(key->modifiers() & Qt::ControlModifier)) {
            const QChar c = text[0];
            if (!c.isDigit() && c != '-' && c != '+')
                return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        RunGuarded([this] {
            const int v = Value();
            if (m_min != m_max && (v < m_min || v > m_max))
                SetValue(v);
        });
    }
    return false;
}

} // namespace hoofer::toolkit
