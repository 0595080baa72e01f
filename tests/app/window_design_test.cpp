// What a user meets in the running window: its title, size and captions, and
// in its menu bar every caption, shortcut and check mark, and which items can
// be chosen before a routine is loaded, with one loaded and while a move plays.
// Which commands a selection allows is the editing core's rule (tests/edit);
// here the menus show it.
#include "window_fixture.h"

#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QWindow>

using namespace hoofer::test;

namespace {

enum Shown { absent, disabled, enabled };
constexpr Shown no = absent, off = disabled, on = enabled;

/// A menu line: its captions from the menu bar down (a check mark when
/// checked, "-" for a separator; siblings alike joined by "|"), its shortcut,
/// and how it shows with no routine, with four moves of two key frames loaded
/// from TEMP/dance.raw, and while the first of them plays.
struct MenuRow {
    const char *item, *shortcut;
    Shown bare, loaded, playing;
};

const MenuRow kMenus[] = {
    {"&File", "", on, on, off},
    {"&File/&New Routine", "Ctrl+Shift+N", on, on, off},
    {"&File/&Load|Import Moves…", "", on, on, off},
    {"&File/Open Recent", "", off, on, off},
    {"&File/Open Recent/&1 TEMP/dance.raw", "", no, on, off},
    {"&File/Open Recent/-", "", no, on, on},
    {"&File/Open Recent/Clear List", "", off, on, off},
    {"&File/&Save", "Ctrl+S", off, on, off},
    {"&File/Save As…", "Ctrl+Shift+S", off, on, off},
    {"&File/Export Move as GIF…", "", off, on, off},
    {"&File/-", "", on, on, on},
    {"&File/Upload to empeg", "", off, on, off},
    {"&File/Upload to empeg/As BreakDance|As PrinceDance|As StonkDance", "", off, on, off},
    {"&File/Download from Empeg", "", on, on, off},
    {"&File/Download from Empeg/BreakDance|PrinceDance|StonkDance", "", on, on, off},
    {"&File/Reboot empeg", "", on, on, off},
    {"Edit", "", on, on, off},
    {"Edit/Undo", "Ctrl+Alt+Z", off, off, off},
    {"Edit/Redo", "Ctrl+Alt+Y", off, off, off},
    {"Move", "", on, on, off},
    {"Move/Play Move", "F9", off, on, off},
    {"Move/-", "", on, on, on},
    {"Move/Add Move", "Ctrl+Alt+N", off, on, off},
    {"Move/Rename Move", "Ctrl+R", off, on, off},
    {"Move/Duplicate Move", "Ctrl+D", off, on, off},
    {"Move/Move Up", "Ctrl+Alt+Up", off, off, off},
    {"Move/Move Down", "Ctrl+Alt+Down", off, on, off},
    {"Move/-", "", on, on, on},
    {"Move/Delete Move", "Ctrl+Del", off, on, off},
    {"Frame", "", on, on, off},
    {"Frame/Add New Frame", "Ctrl+N", off, on, off},
    {"Frame/Insert Frame", "Ins", off, on, off},
    {"Frame/Delete Frame", "Del", off, on, off},
    {"Frame/-", "", on, on, on},
    {"Frame/Copy", "Ctrl+C", off, on, off},
    {"Frame/Cut", "Ctrl+X", off, on, off},
    {"Frame/Paste", "Ctrl+V", off, off, off},
    {"Frame/Undo", "Ctrl+Z", off, off, off},
    {"Frame/Redo", "Ctrl+Y", off, off, off},
    {"Frame/Mirror Pose", "Ctrl+M", off, on, off},
    {"Options", "", on, on, on},
    {"Options/Drag Without Shift|Play Continuously|Keep Bone Lengths|Set empeg Network Name", "", on, on, on},
    {"Options/Grid", "", on, on, on},
    {"Options/Grid/Snap To Grid|Set Grid Size", "", on, on, on},
    {"Options/Grid/5 Pixels", "", off, off, off},
    {"View", "", on, on, on},
    {"View/Onion Skin|Key Frame Strip", "", on, on, on},
    {"View/Playback Speed", "", on, on, on},
    {"View/Playback Speed/Normal ✓|Half|Quarter", "", on, on, on},
    {"View/Zoom", "", on, on, on},
    {"View/Zoom/1× ✓", "Ctrl+1", on, on, on},
    {"View/Zoom/2×", "Ctrl+2", on, on, on},
    {"View/Zoom/3×", "Ctrl+3", on, on, on},
};

std::string Line(const QString &item, const QString &shortcut, bool enabled)
{
    return (item + (shortcut.isEmpty() ? "" : "  " + shortcut) + (enabled ? "" : "  (disabled)")).toStdString();
}

/// The lines of the visible items under a menu, depth first.
void Walk(const QList<QAction *> &actions, const QString &above, const QString &temp, std::vector<std::string> &lines)
{
    for (QAction *action : actions) {
        if (!action->isVisible())
            continue;
        const QString path = above + (action->isSeparator() ? "-" : QString(action->text()).replace(temp, "TEMP"));
        lines.push_back(Line(path + (action->isChecked() ? " ✓" : ""), action->shortcut().toString(QKeySequence::PortableText),
                             action->isEnabled() || action->isSeparator()));
        if (action->menu())
            Walk(action->menu()->actions(), path + "/", temp, lines);
    }
}

} // namespace

class WindowDesign : public WindowTest {
protected:
    void ExpectMenus(Shown MenuRow::*situation, const char *name)
    {
        std::vector<std::string> want, shown;
        for (const MenuRow &row : kMenus) {
            const QString item = row.item, menu = item.left(item.lastIndexOf('/') + 1);
            for (const QString &caption : item.mid(menu.size()).split('|'))
                if (row.*situation != absent)
                    want.push_back(Line(menu + caption, row.shortcut, row.*situation == enabled));
        }
        Walk(window->menuBar()->actions(), "", dir.path(), shown);
        for (size_t i = 0; i < std::max(want.size(), shown.size()); ++i)
            EXPECT_EQ(i < shown.size() ? shown[i] : "(none)", i < want.size() ? want[i] : "(none)")
                << name << ", menu line " << i;
    }
};

TEST_F(WindowDesign, MenusShowTheirCaptionsShortcutsAndStatesWithoutAndWithARoutineAndInPlayback)
{
    EXPECT_EQ(window->windowHandle()->title(), "Hoofer Editor V6") << "no application name appended";
    EXPECT_EQ(hoofer::toolkit::ApplicationTitle(), "Hoofer Editor V6") << "the exception box's title";
    EXPECT_EQ(window->Client->size(), QSize(553, 327));
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "the window keeps its size";
    QStringList captions;  // of the boxes and labels, as created
    for (QWidget *control : window->Client->findChildren<QWidget *>())
        if (auto *box = qobject_cast<QGroupBox *>(control))
            captions << box->title();
        else if (auto *label = qobject_cast<QLabel *>(control); label && !label->text().isEmpty())
            captions << label->text();
    EXPECT_EQ(captions.join("|").toStdString(), "Move and Frame|Current Move|Current Key Frame|Frame Interpolation|Frame Displacement|"
                                  "Body Parts for Current Frame|Body Part|X Pos|Y Pos|Result|Status");

    ExpectMenus(&MenuRow::bare, "no routine");
    WriteBytes(TempPath("dance.raw"), RoutineBytes(4, 2));
    LoadFile(TempPath("dance.raw"));
    ExpectMenus(&MenuRow::loaded, "a routine loaded");
    bool looked = false;
    platform.onMessages = [&] {
        if (!std::exchange(looked, true))
            ExpectMenus(&MenuRow::playing, "playing");
    };
    Click(window->mnuMovePlay);
    EXPECT_TRUE(looked);
}
