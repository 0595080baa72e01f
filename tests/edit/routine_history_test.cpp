// The routine's history in the editing core: every command reports what it
// touched and is one entry that Undo takes back to the very bytes and key
// frame histories it found, and Redo makes again; Modified follows the
// history; the memory stays bounded.
#include "edit/nudge_run.h"
#include "edit/pose_drag.h"
#include "edit/routine_editor.h"
#include "model/routine_codec.h"
#include "test_routine.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <tuple>

using namespace hoofer;

namespace {

/// TestMoves with an undo and a redo entry of a pose of its own in every
/// key frame.
TMoveList Routine(int moves, int frames)
{
    TMoveList routine = test::TestMoves(moves, frames);
    for (const auto &move : routine)
        for (const auto &frame : move->Frames) {
            THFFrame undone, redone;
            undone.Point(2) = frame->Point(1);
            redone.Point(3) = frame->Point(4);
            frame->UndoList.push_back(FrameSnapshot(undone));
            frame->RedoList.push_back(FrameSnapshot(redone));
        }
    return routine;
}

using E = RoutineEditor;
using Command = std::function<void(E &)>;

/// Drags the left hand to (toX, 100) point by point; Escape before the release when cancelled.
void Drag(RoutineEditor &e, int toX, bool cancelled = false)
{
    PoseDrag drag(e);
    const TPoint hand = e.CurrentFrame()->Point(3);
    drag.Press(hand);
    for (int x = hand.X + 1; x <= toX; ++x)
        drag.Step(3, {x, 176}, {});
    if (cancelled)
        drag.Cancel();
    drag.Release();
}

/// Every command of the editor, named as the Edit menu names it, with its
/// report on Editor() below.
const std::vector<std::tuple<std::string, Command, RoutineChange>> &Commands()
{
    using K = RoutineChange::Kind;
    const RoutineChange coordinates{K::Coordinates, 1, 2, 1, 2}, pose{K::Pose, 1, 2, 1, 2};
    static const std::vector<std::tuple<std::string, Command, RoutineChange>> commands = {
        {"Type Coordinates", [](E &e) { e.SetPartPosition(3, 1, 2); e.SetPartPosition(3, 12, 2); }, coordinates},
        {"Set Interpolation", [](E &e) { e.SetInterpolation(40); e.SetInterpolation(41); }, pose},
        {"Set Displacement", [](E &e) { e.SetDisplacement(-5); }, pose},
        {"Drag Left Hand", [](E &e) { Drag(e, 230); }, coordinates},
        {"Nudge Left Hand",
         [](E &e) {
             NudgeRun run(e);
             run.NudgePart(3, 1, 0, false); run.NudgePart(3, 0, 1, false); run.NudgePart(3, 1, 0, false);
         },
         coordinates},
        {"Nudge Figure", [](E &e) { NudgeRun run(e); run.NudgeFigure(-1, 0); run.NudgeFigure(0, -1); }, coordinates},
        {"Add Frame", [](E &e) { e.AddFrame(); }, {K::KeyFrames, 1, 4, 1, 4}},
        {"Insert Frame", [](E &e) { e.InsertFrame(); }, {K::KeyFrames, 1, 3, 1, 3}},
        {"Delete Frame", [](E &e) { e.DeleteFrame(); }, {K::KeyFrames, 1, 2, 1, 2}},
        {"Cut", [](E &e) { e.CopyFrame(); e.CutFrame(); }, {K::KeyFrames, 1, 2, 1, 2}},
        {"Paste", [](E &e) { e.SelectFrame(3); e.CopyFrame(); e.SelectFrame(2); e.PasteFrame(); }, pose},
        {"Mirror Pose", [](E &e) { e.MirrorPose(); }, coordinates},
        {"Frame Undo", [](E &e) { e.UndoFramePose(); }, pose},
        {"Frame Redo", [](E &e) { e.RedoFramePose(); }, pose},
        {"Move Key Frame", [](E &e) { e.MoveFrame(1, e.CurrentMove()->FrameCount); }, {K::KeyFrames, 1, 3, 1, 3}},
        {"Add Move", [](E &e) { e.AddMove(); }, {K::Moves, 3, 0, 3, 1}},
        {"Rename Move", [](E &e) { e.RenameMove("Twirl"); }, {K::MoveName, 1, 0, 1, 2}},
        {"Delete Move", [](E &e) { e.DeleteMove(); }, {K::Moves, 1, 0, 1, 1}},
        {"Duplicate Move", [](E &e) { e.DuplicateMove(); }, {K::Moves, 2, 0, 2, 1}},
        {"Move Up", [](E &e) { e.ShiftMove(-1); }, {K::Moves, 0, 0, 0, 2}},
        {"Move Down", [](E &e) { e.ShiftMove(1); }, {K::Moves, 2, 0, 2, 2}},
        {"Import Moves", [](E &e) { e.AppendMoves(Routine(2, 2)); }, {K::Moves, 5, 0, 5, 1}},
        {"Restore Routine", [](E &e) { e.RestoreRoutine(Routine(2, 4)); }, {K::Routine, -1, 0, 0, 1}},
    };
    return commands;
}

struct Editor : RoutineEditor {
    explicit Editor(int moves = 5, int frames = 3)
    {
        ReplaceRoutine(Routine(moves, frames));
        SelectMove(1);
        SelectFrame(2);
    }
};

} // namespace

TEST(RoutineHistory, EachCommandIsOneReportedEntryUndoneToTheBytesAndHistoriesBeforeAndRedone)
{
    for (const auto &[label, command, report] : Commands()) {
        Editor e;
        RoutineChange told;
        e.OnChanged = [&](const RoutineChange &change) { told = change; };
        const auto state = [&e] { return std::tuple(e.SerialiseRoutine(), test::KeyFrameHistories(e.Moves()), e.Selection()); };
        const auto before = state();
        command(e);
        EXPECT_EQ(told, report) << label;
        const auto after = state();
        ASSERT_EQ(e.History().Count(), 1u) << label;
        EXPECT_EQ(e.History().UndoLabel(), label);
        EXPECT_NE(std::get<0>(after), std::get<0>(before)) << label;
        ASSERT_TRUE(e.UndoChange()) << label;
        EXPECT_EQ(state(), before) << label;
        EXPECT_EQ(e.History().RedoLabel(), label);
        ASSERT_TRUE(e.RedoChange()) << label;
        EXPECT_EQ(state(), after) << label;
    }
}

TEST(RoutineHistory, RandomCommandsUndosAndRedosAgreeWithAModelOfWholeImages)
{
    for (const unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 random(seed);
        Editor e(4, 3);
        std::vector<std::string> images{e.SerialiseRoutine()};
        std::size_t at = 0;
        for (int step = 0; step < 400; ++step) {
            const unsigned pick = random() % 10;
            if (pick == 0 && e.UndoChange())
                --at;
            else if (pick == 1 && e.RedoChange())
                ++at;
            else if (pick >= 2) {
                e.SelectMove(static_cast<int>(random() % e.Moves().size()));
                e.SelectFrame(1 + static_cast<int>(random() % e.CurrentMove()->FrameCount));
                const auto &[label, command, report] = Commands()[random() % (Commands().size() - 1)];  // no restore
                command(e);
                const std::string image = e.SerialiseRoutine();
                if (e.History().Index() > at)
                    images.resize(++at + 1);
                else if (image != images[at]) {  // only a run merges into the newest entry
                    ASSERT_TRUE(label.starts_with("Nudge") || label.starts_with("Type") || label.starts_with("Set"))
                        << label;
                }
                images[at] = image;
            }
            ASSERT_EQ(e.History().Index(), at) << "seed " << seed << " step " << step;
            ASSERT_EQ(e.SerialiseRoutine(), images[at]) << "seed " << seed << " step " << step;
        }
    }
}

TEST(RoutineHistory, ACommandThatChangesNothingMakesNoEntry)
{
    const std::pair<const char *, Command> rows[] = {
        {"X/Y box of no body part", [](E &e) { e.SetPartPosition(13, 7, 8); }},
        {"the point typed again",
         [](E &e) { e.SetPartPosition(3, e.CurrentFrame()->Point(3).X, e.CurrentFrame()->Point(3).Y); }},
        {"drag cancelled", [](E &e) { Drag(e, 200, true); }},
        {"same interpolation", [](E &e) { e.SetInterpolation(e.CurrentFrame()->Interpolation); }},
        {"copy and select", [](E &e) { e.CopyFrame(); e.SelectMove(3); e.SelectFrame(1); }},
        {"paste of the same pose", [](E &e) { e.CopyFrame(); e.PasteFrame(); }},
        {"move up from the top", [](E &e) { e.SelectMove(0); e.ShiftMove(-1); }},
        {"import nothing", [](E &e) { e.AppendMoves({}); }},
        {"load after an edit", [](E &e) { e.SetPartPosition(1, 5, 6); e.ReplaceRoutine(e.SerialiseRoutine()); }},
    };
    for (const auto &[name, command] : rows) {
        Editor e;
        command(e);
        EXPECT_FALSE(e.History().CanUndo()) << name;
        EXPECT_FALSE(e.Modified()) << name;
    }
}

TEST(RoutineHistory, AChangeDuringADragEndsItAsTheEntryBefore)
{
    Editor e;
    const std::string image = e.SerialiseRoutine();
    PoseDrag drag(e);
    drag.Press(e.CurrentFrame()->Point(3));
    drag.Step(3, {200, 176}, {});
    e.AddFrame();
    EXPECT_FALSE(drag.Step(3, {150, 176}, {})) << "nothing more is dragged until the release";
    drag.Release();
    EXPECT_EQ(e.History().Count(), 2u);
    e.UndoChange();
    EXPECT_EQ(e.History().UndoLabel(), "Drag Left Hand");
    e.UndoChange();
    EXPECT_EQ(e.SerialiseRoutine(), image);
}

TEST(RoutineHistory, ModifiedIsClearAtTheSavedEntryUntilTheRoutineIsMarkedSavedNowhere)
{
    Editor e;
    e.AddMove();
    e.MarkSaved();
    e.RenameMove("A");
    EXPECT_TRUE(e.Modified());
    e.UndoChange();
    EXPECT_FALSE(e.Modified());
    e.MarkModified();
    e.AddMove();
    e.UndoChange();
    EXPECT_TRUE(e.Modified());
}

TEST(RoutineHistory, TheOldestEntriesGoBeyondTheByteLimit)
{
    Editor e;
    const std::string largest = EncodeRoutine(Routine(kMaxMoves, 255));
    for (int i = 0; i < 4; ++i)
        e.RestoreRoutine(DecodeRoutine(largest));
    EXPECT_LE(e.History().Cost(), kHistoryByteLimit);
    EXPECT_LT(e.History().Count(), 4u);
    EXPECT_TRUE(e.History().CanUndo());
}
