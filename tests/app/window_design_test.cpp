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

/// Runs of sibling menu lines that show alike, joined by "|": the captions
/// from the menu bar down ("-" a separator, "✓" a check mark), then two spaces
/// and the shortcut. Then how they show with no routine, with four moves of two
/// key frames loaded from TEMP/dance.raw, and while the first of them plays.
struct MenuRow {
    const char *lines;
    Shown bare, loaded, playing;
};

const MenuRow kMenus[] = {
    {"&File", on, on, off},
    {"&File > &New Routine  Ctrl+Shift+N|&Load  Ctrl+O|Import Moves…", on, on, off},
    {"&File > Open Recent", off, on, off},
    {"&File > Open Recent > &1 TEMP/dance.raw|-", no, on, off},
    {"&File > Open Recent > Clear List", off, on, off},
    {"&File > &Save  Ctrl+S|Save As…  Ctrl+Shift+S|Export Move as GIF…|-|Upload to empeg", off, on, off},
    {"&File > Upload to empeg > As BreakDance|As PrinceDance|As StonkDance", off, on, off},
    {"&File > Download from Empeg", on, on, off},
    {"&File > Download from Empeg > BreakDance|PrinceDance|StonkDance", on, on, off},
    {"&File > Reboot empeg|-|&Quit  Ctrl+Q", on, on, off},
    {"Edit", on, on, off},
    {"Edit > Undo  Ctrl+Alt+Z|Redo  Ctrl+Alt+Y", off, off, off},
    {"Move", on, on, off},
    {"Move > Play Move  F9|Play Selection  Shift+F9|Play Routine  Ctrl+F9|-|Add Move  Ctrl+Alt+N|Rename Move  Ctrl+R"
     "|Duplicate Move  Ctrl+D|Copy Move", off, on, off},
    {"Move > Paste Move", off, off, off},
    {"Move > Move Up  Ctrl+Shift+PgUp", off, off, off},
    {"Move > Move Down  Ctrl+Shift+PgDown|-|Delete Move  Ctrl+Del", off, on, off},
    {"Frame", on, on, off},
    {"Frame > Add New Frame  Ctrl+N|Insert Frame  Ins|Delete Frame  Del|-|Copy  Ctrl+C|Cut  Ctrl+X", off, on, off},
    {"Frame > Paste  Ctrl+V|Paste Key Frames  Ctrl+Shift+V|Undo  Ctrl+Z|Redo  Ctrl+Y", off, off, off},
    {"Frame > Mirror Pose  Ctrl+M", off, on, off},
    {"Frame > Pin Body Part  Ctrl+P|Unpin All", off, off, off},
    {"Frame > Time Key Frame to Reference", off, off, off},
    {"Frame > -|Select All Key Frames  Ctrl+Shift+A", off, on, off},
    {"Frame > Reverse Key Frames  Ctrl+Shift+R", off, off, off},
    {"Options", on, on, on},
    {"Options > Drag Without Shift|Play Continuously|Keep Bone Lengths|Ctrl+Z Undoes Any Change|Set empeg Network Name|Grid",
     on, on, on},
    {"Options > Grid > Snap To Grid|Set Grid Size", on, on, on},
    {"Options > Grid > 5 Pixels", off, off, off},
    {"View", on, on, on},
    {"View > Onion Skin|Key Frame Strip|Show Grid|Playback Speed", on, on, on},
    {"View > Playback Speed > Normal ✓|Half|Quarter", on, on, on},
    {"View > Zoom", on, on, on},
    {"View > Zoom > 1× ✓  Ctrl+1|2×  Ctrl+2|3×  Ctrl+3", on, on, on},
    {"View > Fit Preview to Window|Reference", on, on, on},
    {"View > Reference > Choose…", off, on, off},
    {"View > Reference > Show Reference|Opacity", off, off, off},
    {"View > Reference > Opacity > 25 %|50 %|75 %|100 %", off, off, off},
    {"View > Reference > Mirror Reference|Adjust Placement|-|Previous Video Frame  Alt+Left|Next Video Frame  Alt+Right|Set Start Here|-"
     "|Remove Reference", off, off, off},
};

/// A line as the table writes it, "  (disabled)" after one that cannot be chosen.
std::string Line(const QString &line, bool enabled)
{
    return (line + (enabled || line.endsWith("-") ? "" : "  (disabled)")).toStdString();
}

/// The lines of the visible items under a menu, depth first.
void Walk(const QList<QAction *> &actions, const QString &above, const QString &temp, std::vector<std::string> &lines)
{
    for (QAction *action : actions) {
        if (!action->isVisible())
            continue;
        const QString path = above + (action->isSeparator() ? "-" : QString(action->text()).replace(temp, "TEMP"));
        const QString shortcut = action->shortcut().toString(QKeySequence::PortableText);
        lines.push_back(Line(path + (action->isChecked() ? " ✓" : "") + (shortcut.isEmpty() ? "" : "  " + shortcut),
                             action->isEnabled()));
        if (action->menu())
            Walk(action->menu()->actions(), path + " > ", temp, lines);
    }
}

} // namespace

class WindowDesign : public WindowTest {
protected:
    void ExpectMenus(Shown MenuRow::*situation, const char *name)
    {
        std::vector<std::string> want, shown;
        for (const MenuRow &row : kMenus) {
            const QStringList lines = QString(row.lines).split('|');
            const qsizetype cut = lines[0].lastIndexOf(" > ");
            const QString menu = cut < 0 ? QString() : lines[0].left(cut + 3);  // the first line's menu
            for (qsizetype i = 0; i < lines.size() && row.*situation != absent; ++i)
                want.push_back(Line(i == 0 ? lines[0] : menu + lines[i], row.*situation == enabled));
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
    EXPECT_EQ(captions.join("|").toStdString(),
              "Move and Frame|Current Move|Current Key Frame|Frame Interpolation|Frame Displacement|"
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
