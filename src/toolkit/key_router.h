#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace hoofer::toolkit {

class TMainMenu;

/// Gives the window's keys the precedence the editor needs:
/// - the window sees every key press before the focused control (key preview);
/// - a key that is a shortcut of the window's menu is the menu's, even while
///   a line edit has the focus: Qt's line edits claim Del, Ins, Ctrl+C/X/V/Z
///   through ShortcutOverride, and a disabled item's key must not fall
///   through to the control either (Del never deletes a character there).
class KeyRouter : public QObject {
public:
    KeyRouter(QWidget *window, const TMainMenu &menu);
    ~KeyRouter() override;

    std::function<void(int key, Qt::KeyboardModifiers)> OnKeyDown;
    /// Asked after OnKeyDown: a key it claims never reaches the focused control.
    std::function<bool(int key, Qt::KeyboardModifiers)> OnKeyClaim;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    const TMainMenu &m_menu;
    // The key press being delivered and where it went first (only compared).
    const QEvent *m_delivering = nullptr;
    QPointer<QWidget> m_deliveredTo;
};

} // namespace hoofer::toolkit
