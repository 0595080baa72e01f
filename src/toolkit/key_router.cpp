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
    // Qt sends a key press to the focus widget and then up its parents; the
    // window looks at it once, at the first delivery.
    if (widget == QApplication::focusWidget() || widget == m_window) {
        if (OnKeyDown)
            RunGuarded([&] { OnKeyDown(key->key(), key->modifiers()); });
    }
    return menuKey;
}

} // namespace hoofer::toolkit
