#include "combo_box.h"

#include "guard.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>

namespace hoofer::toolkit {

TComboBox::TComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setMaxVisibleItems(16);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] {
        m_itemIndex = -1;
        RunGuarded(OnChange);
    });
    connect(this, &QComboBox::activated, this, [this](int index) { Picked(index); });
}

void TComboBox::Picked(int index)
{
    m_itemIndex = index;
    SetText(itemText(index));
    RunGuarded(OnSelect ? OnSelect : OnChange);
}

void TComboBox::hidePopup()
{
    QComboBox::hidePopup();
    // Qt closes the list before it reports the pick; the close-up comes after.
    QTimer::singleShot(0, this, [this] { RunGuarded(OnCloseUp); });
}

void TComboBox::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        RunGuarded(OnExit);
}

void TComboBox::SetItemIndex(int index)
{
    m_itemIndex = (index >= 0 && index < count()) ? index : -1;
    SetText(m_itemIndex >= 0 ? itemText(m_itemIndex) : QString());
}

QString TComboBox::Text() const
{
    return lineEdit()->text();
}

void TComboBox::SetText(const QString &text)
{
    const QSignalBlocker block(this);
    if (m_itemIndex >= 0 && currentIndex() != m_itemIndex)
        setCurrentIndex(m_itemIndex);
    lineEdit()->setText(text);
}

void TComboBox::AddItem(const QString &text)
{
    const QSignalBlocker block(this);
    const QString keep = Text();
    addItem(text);
    lineEdit()->setText(keep);
}

void TComboBox::ClearItems()
{
    const QSignalBlocker block(this);
    clear();
    m_itemIndex = -1;
    lineEdit()->clear();
}

} // namespace hoofer::toolkit
