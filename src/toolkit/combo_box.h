#pragma once

#include <QComboBox>
#include <functional>

namespace hoofer::toolkit {

/// An editable drop-down list of texts, with the events
/// the window's handlers are written for:
/// - SetItemIndex from the program runs no handler and puts that item's text
///   (or nothing, for -1) in the edit field;
/// - picking an item from the list runs OnSelect (or OnChange when there is
///   no OnSelect) and then, as the list closes, OnCloseUp;
/// - typing in the edit field leaves no item selected (-1) and runs OnChange;
/// - losing the focus runs OnExit.
/// The item index is our own: Qt's current index does not follow typing.
class TComboBox : public QComboBox {
public:
    explicit TComboBox(QWidget *parent = nullptr);

    int ItemIndex() const { return m_itemIndex; }
    void SetItemIndex(int index);
    QString Text() const;
    void SetText(const QString &text);
    void AddItem(const QString &text);
    /// The object is not kept: the move list names its move by its place.
    void AddItem(const QString &text, const void *) { AddItem(text); }
    void ClearItems();
    int Count() const { return count(); }
    QString ItemText(int index) const { return itemText(index); }
    void SetItemText(int index, const QString &text) { setItemText(index, text); }

    std::function<void()> OnChange;
    std::function<void()> OnSelect;
    std::function<void()> OnCloseUp;
    std::function<void()> OnExit;

protected:
    void hidePopup() override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void Picked(int index);

    int m_itemIndex = -1;
    bool m_settingText = false;
};

} // namespace hoofer::toolkit
