// The window as designed: every control's kind, parent, caption and range,
// each inside its box and on no other, and every menu item's place, caption,
// shortcut and state when the window first shows (no settings file).
#include "window_fixture.h"

#include <QGroupBox>
#include <QWindow>

#include <functional>

using namespace hoofer;
using namespace hoofer::test;

namespace {

/// "spin edit \"1\" 1..1": what the design table says of a control.
std::string Describe(QWidget *w)
{
    std::string kind, caption, range;
    if (auto *c = dynamic_cast<toolkit::TComboBox *>(w)) {
        kind = "combo box", caption = c->Text().toStdString(), range = std::to_string(c->Count()) + " items";
    } else if (auto *s = dynamic_cast<toolkit::TSpinEdit *>(w)) {
        kind = "spin edit", caption = s->Text().toStdString();
        range = std::to_string(s->MinValue()) + ".." + std::to_string(s->MaxValue());
    } else if (dynamic_cast<toolkit::TPaintBox *>(w)) {
        kind = "paint box";
    } else if (auto *g = dynamic_cast<QGroupBox *>(w)) {
        kind = "group box", caption = g->title().toStdString();
    } else if (auto *l = dynamic_cast<QLabel *>(w)) {
        kind = "label", caption = l->text().toStdString();
    }
    return kind + " \"" + caption + "\"" + (range.empty() ? "" : " " + range);
}

/// "Play Move F9 disabled": a menu item's caption, shortcut and state.
std::string Describe(const toolkit::TMenuItem &item)
{
    const std::string shortcut = item.ShortCut().toString(QKeySequence::PortableText).toStdString();
    return item.Caption().toStdString() + (shortcut.empty() ? "" : " " + shortcut)
           + (item.Enabled() ? "" : " disabled") + (item.Checked() ? " checked" : "");
}

} // namespace

class WindowDesign : public WindowTest {};

TEST_F(WindowDesign, ControlsAndMenuAreAsDesigned)
{
    TfrmHoofer &w = *window;
    ASSERT_NE(w.windowHandle(), nullptr);
    EXPECT_EQ(w.windowHandle()->title(), "Hoofer Editor V6") << "no application name appended";
    EXPECT_EQ(toolkit::ApplicationTitle(), "Hoofer Editor V6") << "the exception box's title";
    EXPECT_EQ(w.Client->size(), QSize(553, 327));

    const struct {
        const char *name;
        QWidget *control, *parent;
        const char *design;
    } controls[] = {
        {"grpMoveAndFrame", w.grpMoveAndFrame, w.Client, "group box \"Move and Frame\""},
        {"lblCurrentMove", w.lblCurrentMove, w.grpMoveAndFrame, "label \"Current Move\""},
        {"cbxMoves", w.cbxMoves, w.grpMoveAndFrame, "combo box \"\" 0 items"},
        {"lblCurrentFrameNumber", w.lblCurrentFrameNumber, w.grpMoveAndFrame, "label \"Current Key Frame\""},
        {"spinFrameNumber", w.spinFrameNumber, w.grpMoveAndFrame, "spin edit \"1\" 1..1"},
        {"lblFrameInterpolation", w.lblFrameInterpolation, w.grpMoveAndFrame, "label \"Frame Interpolation\""},
        {"spinInterpolate", w.spinInterpolate, w.grpMoveAndFrame, "spin edit \"0\" 0..255"},
        {"lblFrameDisplacement", w.lblFrameDisplacement, w.grpMoveAndFrame, "label \"Frame Displacement\""},
        {"spinDisplacement", w.spinDisplacement, w.grpMoveAndFrame, "spin edit \"0\" -128..128"},
        {"grpBodyParts", w.grpBodyParts, w.Client, "group box \"Body Parts for Current Frame\""},
        {"lblBodyPart", w.lblBodyPart, w.grpBodyParts, "label \"Body Part\""},
        {"cbxBodyPart", w.cbxBodyPart, w.grpBodyParts, "combo box \"Shoulders\" 12 items"},
        {"lblBodyPartXPos", w.lblBodyPartXPos, w.grpBodyParts, "label \"X Pos\""},
        {"spinPartX", w.spinPartX, w.grpBodyParts, "spin edit \"0\" 0..255"},
        {"lblBodyPartYPos", w.lblBodyPartYPos, w.grpBodyParts, "label \"Y Pos\""},
        {"spinPartY", w.spinPartY, w.grpBodyParts, "spin edit \"0\" 0..255"},
        {"grpResult", w.grpResult, w.Client, "group box \"Result\""},
        {"Image", w.Image, w.grpResult, "paint box \"\""},
        {"grpStatus", w.grpStatus, w.Client, "group box \"Status\""},
        {"StatusBar", w.StatusBar, w.grpStatus, "label \"\""},
    };
    // Every control lies inside its box and on no other control of that box.
    std::vector<std::string> misplaced;
    for (const auto &c : controls) {
        ASSERT_NE(c.control, nullptr) << c.name;
        EXPECT_EQ(Describe(c.control), c.design) << c.name;
        EXPECT_EQ(c.control->parentWidget(), c.parent) << c.name;
        if (!c.parent->rect().contains(c.control->geometry()))
            misplaced.push_back(std::string(c.name) + " outside its box");
        for (const auto &other : controls)
            if (&other < &c && other.parent == c.parent && other.control->geometry().intersects(c.control->geometry()))
                misplaced.push_back(std::string(other.name) + " on " + c.name);
    }
    EXPECT_EQ(misplaced, std::vector<std::string>{});
    EXPECT_EQ(w.Image->size(), QSize(256, 296)) << "the player's picture, pixel for pixel";
    EXPECT_EQ(w.cbxBodyPart->ItemText(11).trimmed(), "Right Foot");

    // The menu, depth first, an indent per submenu level; the Move and Frame
    // items are disabled while no move is selected.
    const std::vector<std::string> menu = {
        "mnuFile: &File",
        "  mnuFileNewRoutine: &New Routine Ctrl+Shift+N",
        "  mnuFileLoad: &Load",
        "  mnuFileImportMoves: Import Moves…",
        "  mnuFileOpenRecent: Open Recent disabled",  // its unused slots and the separator hidden
        "    mnuFileOpenRecentClear: Clear List",
        "  mnuFileSave: &Save Ctrl+S disabled",
        "  mnuFileSaveAs: Save As… Ctrl+Shift+S disabled",
        "  mnuFileExportMoveAsGif: Export Move as GIF… disabled",
        "  N3: -",
        "  mnuFileUploadtoEmpeg: Upload to empeg disabled",
        "    UploadtoEmpegAsBreakdance: As BreakDance",
        "    UploadtoEmpegAsPrinceDance: As PrinceDance",
        "    UploadtoEmpegAsStonkDance: As StonkDance",
        "  mnuFileDownloadFromEmpeg: Download from Empeg",
        "    mnuFileDownloadFromEmpegBreakDance: BreakDance",
        "    mnuFileDownloadFromEmpegPrinceDance: PrinceDance",
        "    mnuFileDownloadFromEmpegStonkDance: StonkDance",
        "  mnuFileRebootEmpeg: Reboot empeg",
        "mnuMove: Move",
        "  mnuMovePlay: Play Move F9 disabled",
        "  N1: -",
        "  mnuMoveAddMove: Add Move Ctrl+Alt+N disabled",
        "  mnuMoveRenameMove: Rename Move Ctrl+R disabled",
        "  mnuMoveDuplicateMove: Duplicate Move Ctrl+D disabled",
        "  mnuMoveMoveUp: Move Up Ctrl+Alt+Up disabled",
        "  mnuMoveMoveDown: Move Down Ctrl+Alt+Down disabled",
        "  N4: -",
        "  mnuMoveDeleteMove: Delete Move Ctrl+Del disabled",
        "mnuFrame: Frame",
        "  mnuFrameAddFrame: Add New Frame Ctrl+N disabled",
        "  mnuFrameInsertFrame: Insert Frame Ins disabled",
        "  mnuFrameDeleteFrame: Delete Frame Del disabled",
        "  N2: -",
        "  mnuFrameCopy: Copy Ctrl+C disabled",
        "  mnuFrameCutFrame: Cut Ctrl+X disabled",
        "  mnuFramePaste: Paste Ctrl+V disabled",
        "  mnuFrameUndoFrame: Undo Ctrl+Z disabled",
        "  mnuFrameRedoFrame: Redo Ctrl+Y disabled",
        "  mnuFrameMirrorPose: Mirror Pose Ctrl+M disabled",
        "mnuOptions: Options",
        "  mnuOptionsDragWithoutShift: Drag Without Shift",
        "  mnuOptionsPlayContinuously: Play Continuously",
        "  mnuOptionsKeepBoneLengths: Keep Bone Lengths",
        "  mnuOptionsSetempegNetworkName: Set empeg Network Name",
        "  mnuOptionGrid: Grid",
        "    mnuOptionGridSnapToGrid: Snap To Grid",  // checked in the design, unchecked by the settings' default
        "    mnuOptionGridSetGridSize: Set Grid Size",
        "    mnuOptionGridCurrentSize: 5 Pixels disabled",
        "mnuView: View",
        "  mnuViewOnionSkin: Onion Skin",
        "  mnuViewKeyFrameStrip: Key Frame Strip",
        "  mnuViewPlaybackSpeed: Playback Speed",
        "    mnuViewPlaybackSpeedNormal: Normal checked",
        "    mnuViewPlaybackSpeedHalf: Half",
        "    mnuViewPlaybackSpeedQuarter: Quarter",
        "  mnuViewZoom: Zoom",
        "    mnuViewZoom1: 1× Ctrl+1 checked",
        "    mnuViewZoom2: 2× Ctrl+2",
        "    mnuViewZoom3: 3× Ctrl+3",
    };
    std::vector<std::string> shown;
    const std::function<void(const toolkit::TMenuItem &, const std::string &)> walk =
        [&](const toolkit::TMenuItem &item, const std::string &indent) {
            if (!item.Visible())
                return;
            shown.push_back(indent + item.Name().toStdString() + ": " + Describe(item));
            for (const auto &child : item.Items())
                walk(*child, indent + "  ");
        };
    for (toolkit::TMenuItem *top : {w.mnuFile, w.mnuMove, w.mnuFrame, w.mnuOptions, w.mnuView})
        walk(*top, "");
    for (size_t i = 0; i < std::max(menu.size(), shown.size()); ++i)
        EXPECT_EQ(i < shown.size() ? shown[i] : "(none)", i < menu.size() ? menu[i] : "(none)") << "menu line " << i;
}
