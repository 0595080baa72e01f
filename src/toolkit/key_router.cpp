#include "key_router.h"

#include "guard.h"
#include "menu.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace hoofer::toolkit {

KeyRouter::KeyRouter(QWidget *window, const TMainMenu &menu) : QObject(window), m_window(window), m_menu(menu)
{
    qApp->installEventFilter(this);
}

KeyRouter::~KeyRouter()
{
    qApp->removeEventFilter(this);
}

bool KeyRouter::eventFilter(QObject *watched, QEvent *event)
{
    const auto type = event->type();
    if (type == QEvent::ShortcutOverride || type == QEvent::KeyRelease)
        m_delivering = nullptr;  // a new key is on its way (or this one is over)
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != m_window)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    const QKeySequence sequence(key->keyCombination());
    const bool menuKey = m_menu.OwnsShortcut(sequence);
    if (type == QEvent::ShortcutOverride) {
        if (!menuKey)
            return false;
        // Left unaccepted, the override lets the menu's shortcut fire.
        event->ignore();
        return true;
    }
    // Qt sends a key press to the focused control and, while it is ignored,
    // on to each parent up to the window (a control may also hand it to a
    // part of its own): the window looks at it once, at the first delivery,
    // before the control does.
    const bool passedOn = event == m_delivering && m_deliveredTo
                          && (widget == m_deliveredTo || widget->isAncestorOf(m_deliveredTo)
                              || m_deliveredTo->isAncestorOf(widget));
    bool claimed = false;
    if (!passedOn) {
        m_delivering = event;
        m_deliveredTo = widget;
        if (OnKeyDown)
            RunGuarded([&] { OnKeyDown(key->key(), key->modifiers()); });
        if (OnKeyClaim)
            RunGuarded([&] { claimed = OnKeyClaim(key->key(), key->modifiers()); });
    }
    return menuKey || claimed;
}

} // namespace hoofer::toolkit
