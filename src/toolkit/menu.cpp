#include "menu.h"

#include "guard.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace hoofer::toolkit {

TMenuItem::TMenuItem(QString name, QString caption, TMenuItem *parent)
    : m_name(std::move(name)), m_caption(std::move(caption)), m_parent(parent)
{
}

TMenuItem::~TMenuItem() = default;

TMenuItem *TMenuItem::Add(QString name, QString caption, const QKeySequence &shortcut)
{
    m_items.push_back(std::make_unique<TMenuItem>(std::move(name), std::move(caption), this));
    TMenuItem *item = m_items.back().get();
    if (!shortcut.isEmpty())
        item->m_shortcuts = {shortcut};
    return item;
}

void TMenuItem::SetShortCuts(const QList<QKeySequence> &keys)
{
    m_shortcuts = keys;
    if (m_action)
        m_action->setShortcuts(keys);
}

void TMenuItem::SetToolTip(const QString &text)
{
    m_toolTip = text;
    if (m_action)
        m_action->setToolTip(text);
}

QString TMenuItem::Caption() const
{
    return m_caption;
}

void TMenuItem::SetCaption(const QString &caption)
{
    m_caption = caption;
    if (m_action)
        m_action->setText(caption);
}

bool TMenuItem::EffectivelyEnabled() const
{
    for (const TMenuItem *i = this; i; i = i->m_parent)
        if (!i->m_enabled)
            return false;
    return true;
}

void TMenuItem::SetEnabled(bool enabled)
{
    // The window sets every command's state after every edit; the actions
    // already show an unchanged one.
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    UpdateActionState();
}

void TMenuItem::UpdateActionState()
{
    if (m_action)
        m_action->setEnabled(EffectivelyEnabled());
    // A submenu's title stays readable by its own state; its items follow.
    if (m_menu && m_menu->menuAction())
        m_menu->menuAction()->setEnabled(m_enabled && (!m_parent || m_parent->EffectivelyEnabled()));
    for (auto &child : m_items)
        child->UpdateActionState();
}

void TMenuItem::SetVisible(bool visible)
{
    m_visible = visible;
    if (m_action)
        m_action->setVisible(visible);
    if (m_menu && m_menu->menuAction())
        m_menu->menuAction()->setVisible(visible);
}

bool TMenuItem::Checked() const
{
    return m_checked;
}

void TMenuItem::SetChecked(bool checked)
{
    m_checkable = true;
    m_checked = checked;
    if (m_action) {
        m_action->setCheckable(true);
        m_action->setChecked(checked);
    }
}

void TMenuItem::Click()
{
    if (EffectivelyEnabled() && OnClick)
        OnClick();
}

void TMenuItem::Realise(QWidget *window, QMenu *into, QMenuBar *bar)
{
    if (!m_items.empty()) {
        m_menu = bar ? bar->addMenu(m_caption) : into->addMenu(m_caption);
        for (auto &child : m_items)
            child->Realise(window, m_menu, nullptr);
        m_menu->menuAction()->setVisible(m_visible);
        m_action = nullptr;
        return;
    }
    if (IsSeparator()) {
        // Kept only to be shown or hidden; it has nothing to run.
        m_action = into->addSeparator();
        m_action->setVisible(m_visible);
        return;
    }
    m_action = bar ? bar->addAction(m_caption) : into->addAction(m_caption);
    m_action->setShortcuts(m_shortcuts);
    m_action->setToolTip(m_toolTip);
    // Menus show their items' tooltips only when asked to.
    if (into)
        into->setToolTipsVisible(true);
    m_action->setShortcutContext(Qt::WindowShortcut);
    m_action->setCheckable(m_checkable);
    m_action->setChecked(m_checked);
    window->addAction(m_action);
    QObject::connect(m_action, &QAction::triggered, [this] {
        // Qt toggles a checkable action itself; the handler decides the mark.
        if (m_action->isCheckable())
            m_action->setChecked(m_checked);
        RunGuarded([this] { Click(); });
    });
}

TMainMenu::TMainMenu() : m_root("MainMenu", "", nullptr) {}

TMenuItem *TMainMenu::Add(QString name, QString caption)
{
    return m_root.Add(std::move(name), std::move(caption));
}

void TMainMenu::Realise(QWidget *window, QMenuBar *bar)
{
    for (auto &item : m_root.m_items)
        item->Realise(window, nullptr, bar);
    m_root.UpdateActionState();
}

namespace {
bool OwnsIn(const TMenuItem &item, const QKeySequence &key)
{
    for (const auto &child : item.Items()) {
        for (const QKeySequence &own : child->ShortCuts())
            if (own.matches(key) == QKeySequence::ExactMatch)
                return true;
        if (OwnsIn(*child, key))
            return true;
    }
    return false;
}
} // namespace

bool TMainMenu::OwnsShortcut(const QKeySequence &key) const
{
    return OwnsIn(m_root, key);
}

} // namespace hoofer::toolkit
