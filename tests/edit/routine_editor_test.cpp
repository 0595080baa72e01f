// The editing core without any window: the selection, the enabling table,
// dragging, the move and frame commands, the clipboard and undo.
#include "edit/document_file.h"
#include "edit/grid_snap.h"
#include "edit/nudge_run.h"
#include "edit/pose_drag.h"
#include "edit/routine_editor.h"
#include "model/routine_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

using namespace hoofer;

namespace {

using Names = std::vector<std::string>;
using Marks = std::vector<int>;

/// A routine of `moves` moves of `frames` key frames; the X of each key
/// frame's shoulders is its mark, 10 x move + key frame number. `shape` may
/// give each key frame more (histories) before a core takes the routine.
TMoveList Routine(int moves, int frames, const std::function<void(THFFrame &)> &shape = {})
{
    TMoveList routine;
    for (int m = 0; m < moves; ++m) {
        auto added = std::make_unique<THFMove>();
        added->MoveName = "Move" + std::to_string(m);
        for (int f = 1; f <= frames; ++f) {
            added->Frames.push_back(std::make_unique<THFFrame>());
            added->Frames.back()->Point(1).X = 10 * m + f;
            if (shape)
                shape(*added->Frames.back());
        }
        added->SyncFrameCount();
        routine.push_back(std::move(added));
    }
    return routine;
}

/// The core holding Routine(moves, frames, shape), with key frame `frame`
/// of move `move` current.
struct Editor : RoutineEditor {
    Editor(int moves, int frames, int move = 0, int frame = 1, const std::function<void(THFFrame &)> &shape = {})
    {
        ReplaceRoutine(Routine(moves, frames, shape));
        SelectMove(move);
        SelectFrame(frame);
    }
    std::vector<int> Marks() const
    {
        std::vector<int> out;
        for (const auto &f : CurrentMove()->Frames)
            out.push_back(f->Point(1).X);
        return out;
    }
    /// The mouse's drag and the keyboard's nudges on this core.
    PoseDrag Drag{*this};
    NudgeRun Nudges{*this};
    Names MoveNames() const
    {
        Names out;
        for (const auto &m : Moves())
            out.push_back(m->MoveName);
        return out;
    }
};

/// Records the pose, then moves the left hand (part 3) to (x, 50).
void MoveLeftHand(RoutineEditor &e, int x)
{
    e.PushUndoSnapshot();
    e.SetPartPosition(3, x, 50);
}

} // namespace

TEST(EditingCore, EnablingTableFollowsTheSelection)
{
    struct Row { const char *name; int moves, frames; bool clipboard, history; CommandStates want; };
    const Row rows[] = {
        {"no routine", 0, 0, false, false, {}},
        {"move without key frames", 1, 0, true, false, {.AddFrame = true, .WriteRoutine = true, .CopyMove = true}},
        {"one key frame", 3, 1, false, false,
         {.PlayMove = true, .AddMove = true, .RenameMove = true, .AddFrame = true, .InsertFrame = true, .Copy = true,
          .Cut = true, .MirrorPose = true, .ExportMove = true, .WriteRoutine = true, .DuplicateMove = true,
          .MoveDown = true, .SelectAllFrames = true, .PasteKeyFrames = true, .PlaySelection = true, .CopyMove = true,
          .PlayRoutine = true}},
        {"four moves, clipboard, histories", 4, 2, true, true,
         {.PlayMove = true, .AddMove = true, .RenameMove = true, .DeleteMove = true, .AddFrame = true,
          .InsertFrame = true, .DeleteFrame = true, .Copy = true, .Cut = true, .Paste = true, .Undo = true,
          .Redo = true, .MirrorPose = true, .ExportMove = true, .WriteRoutine = true, .DuplicateMove = true,
          .MoveDown = true, .SelectAllFrames = true, .PasteKeyFrames = true, .PlaySelection = true, .CopyMove = true,
          .PlayRoutine = true}},
    };
    const auto histories = [](THFFrame &f) {
        f.UndoList.push_back(FrameSnapshot(THFFrame{}));
        f.RedoList.push_back(FrameSnapshot(THFFrame{}));
    };
    for (const Row &row : rows) {
        Editor e(row.moves, row.frames, 0, 1, row.history ? histories : std::function<void(THFFrame &)>{});
        if (row.clipboard)
            e.CopyFrame();
        EXPECT_EQ(e.Commands(), row.want) << row.name;
    }
    const CommandStates full = Editor(kMaxMoves, 1, kMaxMoves - 1).Commands();
    EXPECT_EQ(std::tuple(full.DuplicateMove, full.MoveUp, full.MoveDown), std::tuple(false, true, false));
}

TEST(EditingCore, KeyFrameNumbersSelectOnlyKeyFramesOfTheMove)
{
    Editor e(2, 3, 1);
    const std::pair<int, int> rows[] = {{0, 0}, {1, 11}, {3, 13}, {4, 0}};
    for (const auto &[number, mark] : rows) {
        e.SelectFrame(number);
        EXPECT_EQ(e.CurrentFrame() ? e.CurrentFrame()->Point(1).X : 0, mark) << "key frame " << number;
    }
    e.SelectFrame(2);
    e.SelectMove(0);
    EXPECT_EQ(e.CurrentFrameNumber(), 1) << "another move starts at key frame 1";
    e.SelectMove(5);
    EXPECT_EQ(e.CurrentMove(), nullptr) << "no move 5";
    EXPECT_EQ(e.CurrentFrame(), nullptr) << "no move 5";
}

TEST(EditingCore, FrameCommandsPlaceCopiesAndShowTheKeyFrameNextRefusingWhatTheMoveCannotTake)
{
    struct Row { const char *name; int frames, frame; int (RoutineEditor::*command)(); Marks marks; int shown, fresh; };
    const Row rows[] = {
        {"add copies the last", 3, 1, &RoutineEditor::AddFrame, {1, 2, 3, 3}, 4, 1},
        {"insert copies the current before it", 3, 2, &RoutineEditor::InsertFrame, {1, 2, 2, 3}, 3, 1},
        {"delete selects the follower", 3, 2, &RoutineEditor::DeleteFrame, {1, 3}, 2, 0},
        {"delete of the last selects the new last", 3, 3, &RoutineEditor::DeleteFrame, {1, 2}, 2, 0},
        {"no delete of the only key frame", 1, 1, &RoutineEditor::DeleteFrame, {1}, 0, 0},
        {"no insert without key frames", 0, 1, &RoutineEditor::InsertFrame, {}, 0, 0},
        {"add repairs a move without key frames", 0, 1, &RoutineEditor::AddFrame, {0}, 1, 1},
    };
    for (const Row &row : rows) {
        Editor e(1, row.frames, 0, row.frame, [](THFFrame &f) { f.UndoList.push_back("kept"); });
        EXPECT_EQ((e.*row.command)(), row.shown) << row.name;
        EXPECT_EQ(e.Marks(), row.marks) << row.name;
        EXPECT_EQ(e.CurrentMove()->FrameCount, static_cast<int>(row.marks.size())) << row.name;
        // Only a copy starts without history.
        EXPECT_EQ(std::ranges::count_if(e.CurrentMove()->Frames, [](const auto &f) { return f->UndoList.empty(); }),
                  row.fresh) << row.name;
    }
    Editor none(0, 0);
    EXPECT_EQ(std::pair(none.AddFrame(), none.MoveFrame(1, 1)), std::pair(0, 0)) << "no move";
}

TEST(EditingCore, AMovedKeyFrameStaysCurrentWithItsHistory)
{
    struct Row { int from, to; Marks marks; };
    const Row rows[] = {
        {1, 4, {2, 3, 4, 1}}, {1, 2, {2, 1, 3, 4}}, {2, 3, {1, 3, 2, 4}}, {3, 1, {3, 1, 2, 4}},
        {4, 1, {4, 1, 2, 3}}, {4, 2, {1, 4, 2, 3}}, {2, 4, {1, 3, 4, 2}},
        // Nothing to do: the same place, or a number outside the move.
        {1, 1, {1, 2, 3, 4}}, {4, 4, {1, 2, 3, 4}}, {0, 2, {1, 2, 3, 4}}, {2, 5, {1, 2, 3, 4}},
    };
    for (const Row &row : rows) {
        Editor e(2, 4, 0, 3, [](THFFrame &f) { f.UndoList.push_back(std::to_string(f.Point(1).X)); });
        const bool moves = row.marks != Marks{1, 2, 3, 4};
        EXPECT_EQ(e.MoveFrame(row.from, row.to), moves ? row.to : 0) << row.from << " to " << row.to;
        EXPECT_EQ(e.Marks(), row.marks) << row.from << " to " << row.to;
        for (const auto &f : e.CurrentMove()->Frames)
            EXPECT_EQ(f->UndoList.back(), std::to_string(f->Point(1).X));
        EXPECT_EQ(e.CurrentFrameNumber(), moves ? row.to : 3);
        EXPECT_EQ(e.Modified(), moves);
    }
}

TEST(EditingCore, ClipboardCarriesAPoseAcrossMovesInOneByteOfDisplacement)
{
    Editor e(2, 3, 0, 3);
    e.SetInterpolation(9);
    e.SetDisplacement(128);
    EXPECT_FALSE(e.CanPaste()) << "nothing on the clipboard";
    e.CopyFrame();
    e.SelectMove(1);
    e.SelectFrame(2);
    e.SetInterpolation(4);
    e.PushUndoSnapshot();
    e.UndoFramePose();
    ASSERT_TRUE(e.CanPaste());
    e.PasteFrame();
    EXPECT_EQ(e.Marks(), (Marks{11, 3, 13}));
    EXPECT_EQ(std::pair(e.CurrentFrame()->Interpolation, e.CurrentFrame()->Displacement), std::pair(9, -128));
    EXPECT_EQ(std::pair(e.CurrentFrame()->UndoList.size(), e.CurrentFrame()->RedoList.size()), std::pair(1ul, 0ul))
        << "paste keeps the pose it replaces, and what was undone cannot come back";
    ASSERT_TRUE(e.UndoFramePose());
    EXPECT_EQ(e.Marks(), (Marks{11, 12, 13})) << "undo of a paste";
    EXPECT_EQ(e.CurrentFrame()->Interpolation, 4);
}

TEST(EditingCore, MoveCommandsGiveTheMoveShownStayingWithinTheLimitAndTheEnds)
{
    const auto add = [](Editor &e) { return e.AddMove(); };
    const auto del = [](Editor &e) { return e.DeleteMove(); };
    const auto rename = [](Editor &e) { return e.RenameMove(" Twirl "); };
    const auto dup = [](Editor &e) { return e.DuplicateMove(); };
    const auto up = [](Editor &e) { return e.ShiftMove(-1); };
    const auto down = [](Editor &e) { return e.ShiftMove(1); };
    const Names same = {"Move0", "Move1", "Move2"};
    const struct { const char *name; int count, selected; int (*op)(Editor &); int result; Names names; } rows[] = {
        {"add to nothing", 0, 0, add, 0, {"NewMove"}},
        {"no rename without a move", 0, 0, rename, -1, {}},
        {"add among three goes first", 3, 2, add, 0, {"NewMove", "Move0", "Move1", "Move2"}},
        {"add among four goes before the last two", 4, 0, add, 2, {"Move0", "Move1", "NewMove", "Move2", "Move3"}},
        {"add among five", 5, 0, add, 3, {"Move0", "Move1", "Move2", "NewMove", "Move3", "Move4"}},
        {"delete selects the follower", 4, 1, del, 1, {"Move0", "Move2", "Move3"}},
        {"delete of the last selects the new last", 4, 3, del, 2, same},
        {"delete keeps three moves", 3, 0, del, -1, same},
        {"rename keeps the name as typed", 3, 2, rename, 2, {"Move0", "Move1", " Twirl "}},
        {"duplicate the first", 3, 0, dup, 1, {"Move0", "Move0 2", "Move1", "Move2"}},
        {"duplicate the last", 3, 2, dup, 3, {"Move0", "Move1", "Move2", "Move2 2"}},
        {"up from the top", 3, 0, up, -1, same},
        {"up from the last", 3, 2, up, 1, {"Move0", "Move2", "Move1"}},
        {"down from the bottom", 3, 2, down, -1, same},
        {"down from the top", 3, 0, down, 1, {"Move1", "Move0", "Move2"}},
    };
    for (const auto &row : rows) {
        Editor e(row.count, 2, row.selected);
        EXPECT_EQ(row.op(e), row.result) << row.name;
        EXPECT_EQ(e.MoveNames(), row.names) << row.name;
    }
    EXPECT_EQ(Editor(kMaxMoves, 1, 4).DuplicateMove(), -1);
}

TEST(EditingCore, ACopysNameTakesTheFirstFreeNumberWithinTwelveCharacters)
{
    TMoveList moves = Routine(0, 0);
    for (const char *name : {"squat", "squat 2  ", "TwelveLetter", "spin 9"})
        moves.emplace_back(std::make_unique<THFMove>())->MoveName = name;
    const std::pair<std::string, std::string> rows[] = {
        {"squat", "squat 3"}, {" squat 2", "squat 3"}, {"TwelveLetter", "TwelveLett 2"}, {"spin 9", "spin 2"},
        {"7", "7 2"}, {"", " 2"}};
    for (const auto &[name, copy] : rows)
        EXPECT_EQ(NameForCopy(name, moves), copy) << name;
}

TEST(EditingCore, ADuplicateHasThePosesButNoneOfTheHistories)
{
    Editor e(2, 3, 1);
    e.PushUndoSnapshot();
    ASSERT_EQ(e.DuplicateMove(), 2);
    EXPECT_EQ(e.Marks(), (Marks{11, 12, 13}));
    EXPECT_TRUE(e.CurrentFrame()->UndoList.empty());
    EXPECT_NE(e.Moves()[2]->Frames[0].get(), e.Moves()[1]->Frames[0].get());
    EXPECT_EQ(e.Moves()[1]->Frames[0]->UndoList.size(), 1u);
}

TEST(EditingCore, ImportedMovesAreAppendedInOrderOnlyWhileTheyFit)
{
    // The last two moves afterwards: the imported Move0 and Move1, or the
    // routine's own; -2 for moves refused as too many.
    const struct { int before, imported, result; size_t after; Names last; } rows[] = {
        {3, 2, 3, 5, {"Move0", "Move1"}}, {254, 2, 254, 256, {"Move0", "Move1"}},
        {254, 3, -2, 254, {"Move252", "Move253"}}, {kMaxMoves, 1, -2, 256, {"Move254", "Move255"}},
        {3, 0, -1, 3, {"Move1", "Move2"}}};
    for (const auto &row : rows) {
        Editor e(row.before, 1);
        int result = -2;
        try {
            result = e.AppendMoves(Routine(row.imported, 1));
        } catch (const std::runtime_error &) {
        }
        EXPECT_EQ(result, row.result) << row.before << " + " << row.imported;
        ASSERT_EQ(e.Moves().size(), row.after) << row.before << " + " << row.imported;
        const Names names = e.MoveNames();
        EXPECT_EQ(Names(names.end() - 2, names.end()), row.last) << row.before << " + " << row.imported;
    }
}

// The reports of the routine's commands are checked with their history entries.
TEST(EditingCore, AnUnchangedPoseALoadAndASaveReportTheirKindAndTheSelectionAfter)
{
    using K = RoutineChange::Kind;
    const std::tuple<const char *, void (*)(Editor &), RoutineChange> rows[] = {
        {"undo of an unchanged pose", [](Editor &e) { e.PushUndoSnapshot(); e.UndoFramePose(); }, {K::History, 1, 2, 1, 2}},
        {"load", [](Editor &e) { e.ReplaceRoutine(e.SerialiseRoutine()); }, {K::Routine, -1, 0, 0, 1}},
        {"save", [](Editor &e) { e.MarkSaved(); }, {K::Mark, -1, 0, 1, 2}},
    };
    for (const auto &[name, command, want] : rows) {
        Editor e(4, 3, 1, 2);
        RoutineChange told;
        e.OnChanged = [&](const RoutineChange &change) { told = change; };
        command(e);
        EXPECT_EQ(told, want) << name;
    }
}

TEST(EditingCore, UnreadableRoutineLeavesEverythingAsItWas)
{
    Editor e(2, 3, 1, 2);
    e.CopyFrame();
    const std::string before = e.SerialiseRoutine();
    const std::string other = Editor(4, 2).SerialiseRoutine();
    EXPECT_THROW(e.ReplaceRoutine(other.substr(0, other.size() - 5)), RoutineFormatError);
    EXPECT_EQ(e.SerialiseRoutine(), before);
    EXPECT_EQ(e.CurrentFrameNumber(), 2);
    EXPECT_TRUE(e.ReplaceRoutine(other + "xyz"));
    EXPECT_EQ(e.SerialiseRoutine(), other) << "bytes after the last move are dropped";
    EXPECT_EQ(std::pair(e.CurrentMoveIndex(), e.CurrentFrameNumber()), std::pair(0, 1)) << "the first move shows";
    EXPECT_FALSE(e.ClipboardFrame().empty()) << "the clipboard survives a load";
}

TEST(EditingCore, AKeyFramesOwnUndoWalksItsPosesUntilANewSnapshot)
{
    struct Row { const char *name; void (*script)(Editor &); TPoint leftHand; size_t undo, redo; };
    const Row rows[] = {
        {"redo brings it back", [](Editor &e) { MoveLeftHand(e, 20); e.UndoFramePose(); e.RedoFramePose(); }, {20, 50}, 1, 0},
        {"a recorded snapshot empties redo",
         [](Editor &e) { MoveLeftHand(e, 20); e.UndoFramePose(); MoveLeftHand(e, 30); }, {30, 50}, 1, 0},
        {"an equal neighbour is dropped and leaves redo alone",
         [](Editor &e) {
             MoveLeftHand(e, 20); MoveLeftHand(e, 30); e.UndoFramePose(); e.UndoFramePose(); e.RedoFramePose();
             e.SetPartPosition(3, 10, 50); e.PushUndoSnapshot();
         },
         {10, 50}, 1, 1},
        {"escape's cancel leaves nothing to redo",
         [](Editor &e) {
             e.Drag.Press({64, 96}); e.Drag.Step(1, {100, 96}, {}); e.Drag.Cancel(); e.RedoFramePose();
         },
         {10, 50}, 0, 0},
        {"redo with nothing undone", [](Editor &e) { e.RedoFramePose(); }, {10, 50}, 0, 0},
        {"mirror reflects the right hand onto the left", [](Editor &e) { e.MirrorPose(); }, {0, 60}, 1, 0},
        {"undo of a mirror", [](Editor &e) { e.MirrorPose(); e.UndoFramePose(); }, {10, 50}, 0, 1},
        {"nudges move the figure and a part by a point",
         [](Editor &e) { e.Nudges.NudgeFigure(1, 0); e.Nudges.NudgePart(3, 0, 1, false); }, {11, 51}, 1, 0},
        {"a run of nudges, turns and moves alike, is one step",
         [](Editor &e) {
             for (int i = 0; i < 5; ++i)
                 e.Nudges.NudgePart(3, -1, 0, true);
             e.Nudges.NudgeFigure(1, 0); e.Nudges.NudgePart(1, 0, 1, true); e.UndoFramePose();
         },
         {10, 50}, 0, 1},
    };
    for (const Row &row : rows) {
        Editor e(1, 1);
        e.SetPartPosition(1, 64, 96);
        e.SetPartPosition(3, 10, 50);
        e.SetPartPosition(5, 200, 60);
        row.script(e);
        EXPECT_EQ(e.CurrentFrame()->Point(3), row.leftHand) << row.name;
        EXPECT_EQ(e.CurrentFrame()->UndoList.size(), row.undo) << row.name;
        EXPECT_EQ(e.CurrentFrame()->RedoList.size(), row.redo) << row.name;
    }
    Editor none(0, 0), fresh(1, 1);
    EXPECT_FALSE(none.UndoFramePose()) << "no key frame";
    EXPECT_FALSE(none.RedoFramePose()) << "no key frame";
    EXPECT_FALSE(none.MirrorPose()) << "no key frame";
    EXPECT_FALSE(fresh.UndoFramePose()) << "nothing to undo";
}

TEST(HitTesting, APressWithinFourPixelsPicksTheFirstPartUnlessALaterOneIsNearerOnBothAxes)
{
    THFFrame f;
    for (auto &p : f.Points)
        p = {200, 200};
    f.Point(1) = {64, 96};  // pixel (64, 180)
    f.Point(8) = {48, 12};
    f.Point(9) = {40, 8};
    struct Row { int x, y, part; };
    const Row rows[] = {{68, 184, 1}, {69, 180, 0}, {64, 175, 0}, {44, 266, 8}, {41, 267, 9}};
    for (const Row &r : rows)
        EXPECT_EQ(HitBodyPart(f, {r.x, 276 - r.y}), r.part) << "press at " << r.x << "," << r.y;
}

TEST(PoseDragging, ADragPlacesThePartUntilEscapeOrAPressOnNothingBlocksItUntilTheRelease)
{
    Editor e(1, 1);
    e.SetPartPosition(1, 64, 96);
    EXPECT_EQ(e.Drag.Press({66, 94}), 1);
    EXPECT_FALSE(e.Drag.Dragging());
    EXPECT_TRUE(e.Drag.Step(1, {63, 76}, {.Snap = true, .Grid = 5}));
    EXPECT_EQ(e.CurrentFrame()->Point(1), (TPoint{60, 75}));
    EXPECT_TRUE(e.Drag.Step(1, {-30, -124}, {}));
    EXPECT_EQ(e.CurrentFrame()->Point(1), (TPoint{0, 0})) << "clamped";
    EXPECT_TRUE(e.Drag.Cancel());
    EXPECT_EQ(e.CurrentFrame()->Point(1), (TPoint{64, 96})) << "Escape brings the pose of the press back";
    EXPECT_FALSE(e.Drag.Cancel()) << "a second Escape undoes nothing";
    EXPECT_TRUE(e.Drag.Blocked());
    EXPECT_FALSE(e.Drag.Step(1, {10, 266}, {}));
    e.Drag.Release();
    EXPECT_FALSE(e.Drag.Blocked());
    EXPECT_EQ(e.Drag.Press({200, 226}), 0);
    EXPECT_TRUE(e.Drag.Blocked()) << "a press on nothing";
    EXPECT_EQ(e.CurrentFrame()->UndoList.size(), 1u) << "the snapshot is taken anyway";
    EXPECT_FALSE(e.Drag.Step(1, {70, 106}, {}));
    e.Drag.Release();
    EXPECT_FALSE(e.Drag.Blocked());
}

TEST(PoseDragging, ADragBackToItsStartIsNoChangeAndEscapeLeavesRedoAsItWas)
{
    Editor e(1, 1);
    e.SetPartPosition(1, 64, 96);
    e.MarkSaved();
    e.SetPartPosition(1, 70, 96);
    e.UndoChange();
    e.Drag.Press({64, 96});
    e.Drag.Step(1, {90, 96}, {});
    e.Drag.Step(1, {64, 96}, {});
    e.Drag.Release();
    EXPECT_EQ(std::pair(e.Modified(), e.History().CanRedo()), std::pair(false, true)) << "back where it began";
    EXPECT_EQ(e.CurrentFrame()->UndoList.size(), 1u) << "the press's snapshot stays";
    e.Drag.Press({64, 96});
    e.Drag.Step(1, {90, 96}, {});
    ASSERT_TRUE(e.Drag.Cancel());
    EXPECT_EQ(std::pair(e.Modified(), e.History().RedoLabel()), std::pair(false, std::string("Type Coordinates")));
}

TEST(DocumentFile, TheCaptionNamesTheOwnFileWhichARestoredCopyDoesNotHave)
{
    DocumentFile doc;
    EXPECT_EQ(doc.Caption("Hoofer Editor V6", true), "Hoofer Editor V6*");
    doc.SetOwnFile("/r/dance.raw");
    EXPECT_TRUE(doc.HasOwnFile());
    EXPECT_EQ(doc.Caption("Hoofer Editor V6", false), "dance.raw — Hoofer Editor V6");
    EXPECT_EQ(doc.Caption("Hoofer Editor V6", true), "dance.raw* — Hoofer Editor V6");
    doc.Restored("/r/old.raw");
    EXPECT_FALSE(doc.HasOwnFile());
    EXPECT_EQ(doc.Source(), "/r/old.raw");
    doc.Detach();
    EXPECT_EQ(doc.Source(), "");
}

TEST(DocumentFile, AMovesGifIsNamedAfterTheMoveWithUnsafeBytesReplaced)
{
    const std::pair<std::string, std::string> names[] = {
        {"Spin        ", "Spin.gif"}, {"   ", "move.gif"}, {"a/b\x7f c", "a_b_ c.gif"}, {"caf\xe9", "caf\xc3\xa9.gif"}};
    for (const auto &[move, gif] : names)
        EXPECT_EQ(GifNameForMove(move), gif) << move;
}
