#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace hoofer::toolkit {

/// One item of the window's menu: caption, enabled and checked state,
/// shortcut and click handler, and, for a submenu, its items. An item's
/// shortcut works only while the item and every menu above it are enabled,
/// which Qt alone does not give (an action inside a disabled QMenu still
/// fires its shortcut).
class TMenuItem {
public:
    TMenuItem(QString name, QString caption, TMenuItem *parent);
    ~TMenuItem();
    TMenuItem(const TMenuItem &) = delete;
    TMenuItem &operator=(const TMenuItem &) = delete;

    const QString &Name() const { return m_name; }
    QString Caption() const;
    void SetCaption(const QString &caption);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    /// Enabled here and in every menu above.
    bool EffectivelyEnabled() const;
    /// A hidden item takes no room in its menu (a submenu's unused slots).
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    bool Checked() const;
    void SetChecked(bool checked);
    /// The first of the item's keys; empty when it has none.
    QKeySequence ShortCut() const { return m_shortcuts.value(0); }
    const QList<QKeySequence> &ShortCuts() const { return m_shortcuts; }
    /// The keys that run the item from now on, the first of them shown in the menu.
    void SetShortCuts(const QList<QKeySequence> &keys);
    /// The text the menu shows while the pointer rests on the item.
    void SetToolTip(const QString &text);
    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }
    bool IsSeparator() const { return m_caption == "-"; }
    const std::vector<std::unique_ptr<TMenuItem>> &Items() const { return m_items; }
    TMenuItem *Parent() const { return m_parent; }
    QAction *Action() const { return m_action; }
    QMenu *Menu() const { return m_menu; }

    /// Runs the click handler as the menu does (only while effectively enabled).
    void Click();

    std::function<void()> OnClick;

    TMenuItem *Add(QString name, QString caption, const QKeySequence &shortcut = {});

private:
    friend class TMainMenu;
    void Realise(QWidget *window, QMenu *into, QMenuBar *bar);
    void UpdateActionState();

    QString m_name;
    QString m_caption;
    TMenuItem *m_parent;
    std::vector<std::unique_ptr<TMenuItem>> m_items;
    QAction *m_action = nullptr;
    QMenu *m_menu = nullptr;
    bool m_enabled = true;
    bool m_visible = true;
    bool m_checkable = false;
    bool m_checked = false;
    QList<QKeySequence> m_shortcuts;
    QString m_toolTip;
    int m_tag = 0;
};

/// The menu bar of a window: a tree of TMenuItem, realised as a QMenuBar.
class TMainMenu {
public:
    TMainMenu();
    TMenuItem *Add(QString name, QString caption);
    /// Builds the Qt menus once every item is in place.
    void Realise(QWidget *window, QMenuBar *bar);
    /// True when some item of the menu carries this key as its shortcut.
    bool OwnsShortcut(const QKeySequence &key) const;
    const std::vector<std::unique_ptr<TMenuItem>> &Items() const { return m_root.Items(); }

private:
    TMenuItem m_root;
};

} // namespace hoofer::toolkit
