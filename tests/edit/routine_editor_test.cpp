// The editing core without any window: the selection, the enabling table,
// dragging, the move and frame commands, the clipboard and undo.
#include "edit/grid_snap.h"
#include "edit/routine_editor.h"
#include "model/routine_codec.h"

#include <gtest/gtest.h>

using namespace hoofer;

namespace {

/// An editor holding `moves` moves of `frames` key frames; the X of each key
/// frame's shoulders is its mark, 10 x move + key frame number.
struct Editor : RoutineEditor {
    Editor(int moves, int frames, int move = 0, int frame = 1)
    {
        for (int m = 0; m < moves; ++m) {
            auto added = std::make_unique<THFMove>();
            added->MoveName = "Move" + std::to_string(m);
            for (int f = 1; f <= frames; ++f) {
                added->Frames.push_back(std::make_unique<THFFrame>());
                added->Frames.back()->Point(1).X = 10 * m + f;
            }
            added->SyncFrameCount();
            Moves.push_back(std::move(added));
        }
        if (moves > 0) {
            SelectMove(move);
            SelectFrame(frame);
        }
    }
    std::vector<int> Marks() const
    {
        std::vector<int> out;
        for (const auto &f : CurrentMove->Frames)
            out.push_back(f->Point(1).X);
        return out;
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> out;
        for (const auto &m : Moves)
            out.push_back(m->MoveName);
        return out;
    }
};

using Names = std::vector<std::string>;
using Marks = std::vector<int>;

} // namespace

TEST(EditingCore, EnablingTableFollowsTheSelection)
{
    struct Row {
        const char *name;
        int moves, frames;
        bool clipboard, history;
        CommandStates want;
    };
    // PlayMove AddMove RenameMove DeleteMove AddFrame InsertFrame DeleteFrame Copy Cut Paste Undo Redo
    // MirrorPose ExportMove
    const Row rows[] = {
        {"no routine", 0, 0, false, false, {}},
        {"move without key frames", 1, 0, true, false, {false, false, false, false, true}},
        {"one key frame", 3, 1, false, false,
         {true, true, true, false, true, true, false, true, true, false, false, false, true, true}},
        {"four moves, clipboard, histories", 4, 2, true, true,
         {true, true, true, true, true, true, true, true, true, true, true, true, true, true}},
    };
    for (const Row &row : rows) {
        Editor e(row.moves, row.frames);
        if (row.clipboard)
            e.ClipboardFrame = std::string(kFrameRecordSize, '\0');
        if (row.history) {
            e.CurrentFrame->UndoList.push_back(FrameSnapshot(THFFrame{}));
            e.CurrentFrame->RedoList.push_back(FrameSnapshot(THFFrame{}));
        }
        EXPECT_EQ(e.Commands(), row.want) << row.name;
    }
}

TEST(EditingCore, KeyFrameNumbersSelectOnlyKeyFramesOfTheMove)
{
    Editor e(2, 3, 1);
    const std::pair<int, int> rows[] = {{0, 0}, {1, 11}, {3, 13}, {4, 0}, {-1, 0}};
    for (const auto &[number, mark] : rows) {
        e.SelectFrame(number);
        EXPECT_EQ(e.CurrentFrame ? e.CurrentFrame->Point(1).X : 0, mark) << "key frame " << number;
    }
    e.SelectFrame(2);
    e.SelectMove(0);
    EXPECT_EQ(e.CurrentFrameNumber(), 1) << "another move starts at key frame 1";
    e.SelectMove(5);
    EXPECT_EQ(e.CurrentMove, nullptr);
    EXPECT_EQ(e.CurrentFrame, nullptr);
}

TEST(EditingCore, FrameCommandsPlaceCopiesAndChooseTheNextKeyFrame)
{
    struct Row {
        const char *name;
        int frame;
        int (RoutineEditor::*command)();
        Marks marks;
        int shown;
    };
    const Row rows[] = {
        {"add copies the last", 1, &RoutineEditor::AddFrame, {1, 2, 3, 3}, 4},
        {"insert copies the current before it", 2, &RoutineEditor::InsertFrame, {1, 2, 2, 3}, 3},
        {"delete selects the follower", 2, &RoutineEditor::DeleteFrame, {1, 3}, 2},
        {"delete of the last selects the new last", 3, &RoutineEditor::DeleteFrame, {1, 2}, 2},
    };
    for (const Row &row : rows) {
        Editor e(1, 3, 0, row.frame);
        e.CurrentFrame->UndoList.push_back("kept");
        THFFrame *before = e.CurrentFrame;
        EXPECT_EQ((e.*row.command)(), row.shown) << row.name;
        EXPECT_EQ(e.Marks(), row.marks) << row.name;
        EXPECT_EQ(e.CurrentMove->FrameCount, static_cast<int>(row.marks.size())) << row.name;
        if (row.command != &RoutineEditor::DeleteFrame) {
            EXPECT_EQ(e.CurrentMove->Frames[row.shown - 1]->UndoList.empty(), row.command == &RoutineEditor::AddFrame)
                << row.name << ": the new key frame starts without history";
            EXPECT_EQ(e.CurrentFrame, row.command == &RoutineEditor::InsertFrame ? before : e.CurrentFrame) << row.name;
        } else {
            EXPECT_EQ(e.CurrentFrameNumber(), row.shown) << row.name;
        }
    }
}

TEST(EditingCore, FrameCommandsRefuseWhatTheyCannotDo)
{
    Editor single(1, 1);
    EXPECT_FALSE(single.CanDeleteFrame());
    EXPECT_EQ(single.DeleteFrame(), 0);
    Editor empty(1, 0);
    EXPECT_EQ(empty.InsertFrame(), 0);
    ASSERT_EQ(empty.AddFrame(), 1) << "a move without key frames is repaired by adding one";
    EXPECT_EQ(empty.CurrentMove->Frames[0]->Point(1), (TPoint{0, 0}));
    Editor none(0, 0);
    EXPECT_EQ(none.AddFrame(), 0);
    EXPECT_EQ(none.RenameMove("x"), -1);
}

TEST(EditingCore, ClipboardCarriesAPoseAcrossMovesInOneByteOfDisplacement)
{
    Editor e(2, 3, 0, 3);
    e.CurrentFrame->Interpolation = 9;
    e.CurrentFrame->Displacement = 128;
    EXPECT_FALSE(e.CanPaste()) << "nothing on the clipboard";
    e.CopyFrame();
    e.SelectMove(1);
    e.SelectFrame(2);
    e.CurrentFrame->UndoList.push_back("kept");
    ASSERT_TRUE(e.CanPaste());
    e.PasteFrame();
    EXPECT_EQ(e.Marks(), (Marks{11, 3, 13}));
    EXPECT_EQ(e.CurrentFrame->Interpolation, 9);
    EXPECT_EQ(e.CurrentFrame->Displacement, -128);
    EXPECT_EQ(e.CurrentFrame->UndoList.size(), 1u) << "paste keeps the history";
    e.ClipboardFrame = "short";
    EXPECT_FALSE(e.CanPaste()) << "only a whole snapshot is pasted";
    e.SelectMove(-1);
    e.CopyFrame();
    EXPECT_TRUE(e.ClipboardFrame.empty()) << "copy with nothing current empties the clipboard";
}

TEST(EditingCore, NewMoveGoesBeforeTheLastTwoOrFirst)
{
    const std::pair<int, int> rows[] = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 2}, {5, 3}};
    for (const auto &[count, at] : rows) {
        Editor e(count, 1);
        EXPECT_EQ(e.AddMove(), at) << count << " moves";
        EXPECT_EQ(e.Moves[at]->MoveName, "NewMove") << count << " moves";
    }
    const auto standing = MakeStandingMove();
    const THFMove &added = *standing;
    ASSERT_EQ(added.FrameCount, 1);
    EXPECT_EQ(added.Frames[0]->Interpolation, 3);
    EXPECT_EQ(added.Frames[0]->Point(1), (TPoint{64, 96}));
    EXPECT_EQ(added.Frames[0]->Point(12), (TPoint{88, 8}));
}

TEST(EditingCore, DeleteMoveKeepsTwoAndSelectsTheFollowerOrTheNewLast)
{
    struct Row {
        int count, selected, next;
        Names names;
    };
    const Row rows[] = {
        {4, 1, 1, {"Move0", "Move2", "Move3"}},
        {4, 3, 2, {"Move0", "Move1", "Move2"}},
        {3, 0, 0, {"Move1", "Move2"}},
        {2, 0, -1, {"Move0", "Move1"}},
    };
    for (const Row &row : rows) {
        Editor e(row.count, 1, row.selected);
        EXPECT_EQ(e.DeleteMove(), row.next) << row.count << " moves, " << row.selected;
        EXPECT_EQ(e.Names(), row.names) << row.count << " moves, " << row.selected;
    }
}

TEST(EditingCore, RenameStoresTheTextAsTyped)
{
    Editor e(3, 1, 2);
    EXPECT_EQ(e.RenameMove(" Twirl "), 2);
    EXPECT_EQ(e.Moves[2]->MoveName, " Twirl ");
}

TEST(EditingCore, EveryChangeOfTheRoutineMarksItModified)
{
    struct Row {
        const char *name;
        void (*edit)(RoutineEditor &);
        bool modified;
    };
    const Row rows[] = {
        {"X/Y box", [](RoutineEditor &e) { e.SetPartPosition(3, 7, 8); }, true},
        {"drag", [](RoutineEditor &e) { e.MouseDown(64, 180); e.MouseMove(true, true, 1, 70, 170, false, 5); }, true},
        {"interpolation", [](RoutineEditor &e) { e.SetInterpolation(e.CurrentFrame->Interpolation + 1); }, true},
        {"displacement", [](RoutineEditor &e) { e.SetDisplacement(-4); }, true},
        {"same interpolation", [](RoutineEditor &e) { e.SetInterpolation(e.CurrentFrame->Interpolation); }, false},
        {"add frame", [](RoutineEditor &e) { e.AddFrame(); }, true},
        {"insert frame", [](RoutineEditor &e) { e.InsertFrame(); }, true},
        {"delete frame", [](RoutineEditor &e) { e.DeleteFrame(); }, true},
        {"copy", [](RoutineEditor &e) { e.CopyFrame(); }, false},
        {"paste", [](RoutineEditor &e) { e.CopyFrame(); e.PasteFrame(); }, true},
        {"add move", [](RoutineEditor &e) { e.AddMove(); }, true},
        {"rename move", [](RoutineEditor &e) { e.RenameMove("Twirl"); }, true},
        {"delete move", [](RoutineEditor &e) { e.DeleteMove(); }, true},
        {"select", [](RoutineEditor &e) { e.SelectMove(2); e.SelectFrame(2); }, false},
        {"undo of an unchanged pose", [](RoutineEditor &e) { e.PushUndoSnapshot(); e.PopUndoSnapshot(); }, false},
        {"undo of a change", [](RoutineEditor &e) { e.PushUndoSnapshot(); e.CurrentFrame->Point(2) = {1, 1}; e.PopUndoSnapshot(); }, true},
        {"mirror", [](RoutineEditor &e) { e.MirrorPose(); }, true},
        {"load", [](RoutineEditor &e) { e.ReplaceRoutine(e.SerialiseRoutine()); }, false},
    };
    for (const Row &row : rows) {
        Editor e(4, 2);
        e.CurrentFrame->Point(1) = {64, 96};
        int notified = 0;
        e.OnChanged = [&] { ++notified; };
        row.edit(e);
        EXPECT_EQ(e.Modified, row.modified) << row.name;
        EXPECT_EQ(notified > 0, row.modified || std::string(row.name) == "load") << row.name;
    }
    Editor e(1, 1);
    e.SetPartPosition(1, 5, 6);
    e.ReplaceRoutine(e.SerialiseRoutine());
    EXPECT_FALSE(e.Modified) << "the loaded routine has no unsaved changes";
    e.SetPartPosition(1, 5, 7);
    e.MarkSaved();
    EXPECT_FALSE(e.Modified);
}

TEST(EditingCore, UnreadableRoutineLeavesEverythingAsItWas)
{
    Editor e(2, 3, 1, 2);
    e.ClipboardFrame = FrameSnapshot(*e.CurrentFrame);
    const std::string before = e.SerialiseRoutine();
    const std::string other = Editor(4, 2).SerialiseRoutine();
    EXPECT_THROW(e.ReplaceRoutine(other.substr(0, other.size() - 5)), RoutineFormatError);
    EXPECT_EQ(e.SerialiseRoutine(), before);
    EXPECT_EQ(e.CurrentFrameNumber(), 2);
    EXPECT_TRUE(e.ReplaceRoutine(other + "xyz"));
    EXPECT_EQ(e.SerialiseRoutine(), other) << "bytes after the last move are dropped";
    EXPECT_EQ(e.CurrentMove, nullptr);
    EXPECT_FALSE(e.ClipboardFrame.empty()) << "the clipboard survives a load";
}

TEST(EditingCore, UndoKeepsEachPoseOnceAndBringsItBack)
{
    Editor e(1, 1);
    e.CurrentFrame->Displacement = 128;
    e.PushUndoSnapshot();
    e.PushUndoSnapshot();
    EXPECT_EQ(e.CurrentFrame->UndoList.size(), 1u) << "an equal neighbour is not kept twice";
    e.CurrentFrame->Displacement = 5;
    EXPECT_TRUE(e.PopUndoSnapshot());
    EXPECT_EQ(e.CurrentFrame->Displacement, -128);
    EXPECT_FALSE(e.PopUndoSnapshot());
}

TEST(EditingCore, RedoTakesBackWhatUndoUndidUntilANewSnapshotAndMirrorIsUndoable)
{
    using Script = void (*)(RoutineEditor &);
    struct Row {
        const char *name;
        Script script;
        TPoint leftHand, rightHand;
        size_t undo, redo;
    };
    const Row rows[] = {
        {"undo keeps the undone pose", [](RoutineEditor &e) { e.PushUndoSnapshot(); e.SetPartPosition(3, 20, 50); e.Undo(); },
         {10, 50}, {200, 60}, 0, 1},
        {"redo brings it back", [](RoutineEditor &e) { e.PushUndoSnapshot(); e.SetPartPosition(3, 20, 50); e.Undo(); e.Redo(); },
         {20, 50}, {200, 60}, 1, 0},
        {"undo after redo", [](RoutineEditor &e) { e.PushUndoSnapshot(); e.SetPartPosition(3, 20, 50); e.Undo(); e.Redo(); e.Undo(); },
         {10, 50}, {200, 60}, 0, 1},
        {"a recorded snapshot empties redo",
         [](RoutineEditor &e) { e.PushUndoSnapshot(); e.SetPartPosition(3, 20, 50); e.Undo(); e.SetPartPosition(3, 30, 50); e.PushUndoSnapshot(); },
         {30, 50}, {200, 60}, 1, 0},
        {"an equal neighbour is dropped and leaves redo alone",
         [](RoutineEditor &e) {
             e.PushUndoSnapshot(); e.SetPartPosition(3, 20, 50); e.PushUndoSnapshot(); e.SetPartPosition(3, 30, 50);
             e.Undo(); e.Undo(); e.Redo(); e.SetPartPosition(3, 10, 50); e.PushUndoSnapshot();
         },
         {10, 50}, {200, 60}, 1, 1},
        {"escape's cancel leaves nothing to redo",
         [](RoutineEditor &e) { e.MouseDown(64, 180); e.MouseMove(true, true, 1, 100, 180, false, 5); e.CancelDrag(); e.Redo(); },
         {10, 50}, {200, 60}, 0, 0},
        {"redo with nothing undone", [](RoutineEditor &e) { e.Redo(); }, {10, 50}, {200, 60}, 0, 0},
        {"mirror swaps and reflects, clamped at 0", [](RoutineEditor &e) { e.MirrorPose(); }, {0, 60}, {118, 50}, 1, 0},
        {"undo of a mirror", [](RoutineEditor &e) { e.MirrorPose(); e.Undo(); }, {10, 50}, {200, 60}, 0, 1},
        {"redo of a mirror", [](RoutineEditor &e) { e.MirrorPose(); e.Undo(); e.Redo(); }, {0, 60}, {118, 50}, 1, 0},
    };
    for (const Row &row : rows) {
        Editor e(1, 1);
        e.CurrentFrame->Point(1) = {64, 96};
        e.CurrentFrame->Point(3) = {10, 50};
        e.CurrentFrame->Point(5) = {200, 60};
        row.script(e);
        EXPECT_EQ(e.CurrentFrame->Point(3), row.leftHand) << row.name;
        EXPECT_EQ(e.CurrentFrame->Point(5), row.rightHand) << row.name;
        EXPECT_EQ(e.CurrentFrame->UndoList.size(), row.undo) << row.name;
        EXPECT_EQ(e.CurrentFrame->RedoList.size(), row.redo) << row.name;
    }
    Editor none(0, 0);
    EXPECT_FALSE(none.Undo() || none.Redo() || none.MirrorPose());
}

TEST(Snapping, TruncatesTowardZeroThenClamps)
{
    struct Row {
        int value;
        bool snap;
        int grid, want;
    };
    const Row rows[] = {{63, true, 5, 60},   {76, true, 5, 75},   {63, false, 5, 63}, {256, true, 10, 250},
                        {262, true, 10, 255}, {-7, true, 5, 0},   {-7, false, 5, 0},  {300, false, 5, 255}};
    for (const Row &r : rows)
        EXPECT_EQ(SnapCoordinate(r.value, r.snap, r.grid), r.want) << r.value << (r.snap ? " snapped to " : " on ") << r.grid;
    EXPECT_EQ(PointerToPointY(180), 96);
    EXPECT_EQ(PointerToPointY(300), -24);
}

TEST(HitTesting, NineByNineSquareAndALaterPartOnlyWhenNearerOnBothAxes)
{
    THFFrame f;
    for (auto &p : f.Points)
        p = {200, 200};
    f.Point(1) = {64, 96};  // pixel (64, 180)
    f.Point(8) = {48, 12};
    f.Point(9) = {40, 8};
    struct Row {
        int x, y, part;
    };
    const Row rows[] = {{68, 184, 1}, {60, 176, 1}, {69, 180, 0}, {64, 175, 0}, {44, 266, 8}, {41, 267, 9}};
    for (const Row &r : rows)
        EXPECT_EQ(HitBodyPart(f, r.x, r.y), r.part) << "press at " << r.x << "," << r.y;
}

TEST(PoseDragging, PressMoveReleaseAndEscape)
{
    Editor e(1, 1);
    e.CurrentFrame->Point(1) = {64, 96};
    EXPECT_EQ(e.MouseDown(200, 50), 0);
    EXPECT_TRUE(e.DragBlocked) << "a press on nothing blocks";
    EXPECT_EQ(e.CurrentFrame->UndoList.size(), 1u) << "the snapshot is taken anyway";
    EXPECT_FALSE(e.MouseMove(true, true, 1, 70, 170, false, 5));
    e.MouseUp();

    EXPECT_EQ(e.MouseDown(66, 182), 1);
    EXPECT_FALSE(e.MouseMove(false, true, 1, 70, 170, false, 5)) << "no left button";
    EXPECT_FALSE(e.MouseMove(true, false, 1, 70, 170, false, 5)) << "no Shift and no option";
    EXPECT_FALSE(e.Dragging);
    EXPECT_TRUE(e.MouseMove(true, true, 1, 63, 200, true, 5));
    EXPECT_EQ(e.CurrentFrame->Point(1), (TPoint{60, 75}));
    EXPECT_TRUE(e.MouseMove(true, true, 1, -30, 400, false, 5));
    EXPECT_EQ(e.CurrentFrame->Point(1), (TPoint{0, 0})) << "clamped";
    EXPECT_TRUE(e.CancelDrag());
    EXPECT_EQ(e.CurrentFrame->Point(1), (TPoint{64, 96})) << "Escape brings the pose of the press back";
    EXPECT_TRUE(e.DragBlocked);
    EXPECT_FALSE(e.MouseMove(true, true, 1, 10, 10, false, 5));
    EXPECT_FALSE(e.CancelDrag()) << "a second Escape undoes nothing";
    e.MouseUp();
    EXPECT_FALSE(e.DragBlocked);
}
