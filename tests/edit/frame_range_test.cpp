// Ranges of key frames in the editing core: selecting one, and every command
// on one at the start, middle and end of a move, on one key frame and the
// whole move, each one entry that Undo takes back to the very bytes and
// histories; the limits of 255 key frames a move and 256 moves a routine.
#include "edit/routine_editor.h"
#include "model/pose_ops.h"
#include "model/routine_codec.h"
#include "test_routine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

using namespace hoofer;

namespace {

/// A routine of three moves of eight key frames, each with an undo entry of
/// its own; key frames first..last of move 1 selected, the first current.
struct RangeEditor : RoutineEditor {
    RangeEditor(int first, int last, int frames = 8)
    {
        TMoveList moves = test::TestMoves(3, frames);
        for (const auto &move : moves)
            for (const auto &frame : move->Frames)
                frame->UndoList.push_back(FrameSnapshot(*move->Frames.front()));
        ReplaceRoutine(std::move(moves));
        SelectMove(1);
        SelectFrame(first);
        ExtendSelection(last);
    }
};

std::string Transformed(const std::string &snapshot, const std::function<void(THFFrame &)> &change)
{
    THFFrame frame;
    std::string bytes = snapshot;
    TakeFrameSnapshot(bytes, frame);
    change(frame);
    return FrameSnapshot(frame);
}

using Frames = std::vector<std::string>;

struct RangeCommand {
    const char *label;
    std::function<void(RoutineEditor &)> run;
    /// The key frames expected from those before, the range first..last.
    std::function<Frames(Frames, int, int)> expected;
    /// The key frame current afterwards, from first, last and the count before.
    std::function<int(int, int, int)> current;
};

const std::string kPasted = [] {
    THFFrame a, b;
    a.Point(1) = {1, 2};
    a.Interpolation = 9;
    b.Point(12) = {3, 4};
    b.Displacement = -7;
    return FrameSnapshot(a) + FrameSnapshot(b);
}();

const std::vector<RangeCommand> &Commands()
{
    const auto each = [](std::function<void(THFFrame &)> change) {
        return [change](Frames f, int first, int last) {
            for (int n = first; n <= last; ++n)
                f[n - 1] = Transformed(f[n - 1], change);
            return f;
        };
    };
    const auto stays = [](int first, int, int) { return first; };
    const auto removed = [](Frames f, int first, int last) {
        f.erase(f.begin() + first - 1, f.begin() + last);
        return f;
    };
    const auto follower = [](int first, int last, int count) { return std::min(first, count - (last - first + 1)); };
    static const std::vector<RangeCommand> commands = {
        {"Delete Frame", [](RoutineEditor &e) { e.DeleteFrame(); }, removed, follower},
        {"Cut", [](RoutineEditor &e) { e.CopyFrame(), e.CutFrame(); }, removed, follower},
        {"Mirror Pose", [](RoutineEditor &e) { e.MirrorPose(); }, each([](THFFrame &f) { MirrorPose(f); }), stays},
        {"Set Interpolation", [](RoutineEditor &e) { e.SetInterpolation(77); },
         each([](THFFrame &f) { f.Interpolation = 77; }), stays},
        {"Set Displacement", [](RoutineEditor &e) { e.SetDisplacement(-9); },
         each([](THFFrame &f) { f.Displacement = -9; }), stays},
        {"Reverse Key Frames", [](RoutineEditor &e) { e.ReverseFrames(); },
         [](Frames f, int first, int last) {
             std::reverse(f.begin() + first - 1, f.begin() + last);
             return f;
         },
         [](int, int last, int) { return last; }},
        {"Paste Key Frames", [](RoutineEditor &e) { e.PasteKeyFrames(kPasted); },
         [](Frames f, int first, int) {
             f.insert(f.begin() + first, {kPasted.substr(0, 26), kPasted.substr(26)});
             return f;
         },
         [](int first, int, int) { return first + 1; }},
    };
    return commands;
}

} // namespace

TEST(FrameRanges, EachCommandOnARangeIsOneEntryUndoneToTheBytesHistoriesAndRangeBeforeAndRedone)
{
    // Start, middle, end, one key frame, the whole move (of eight).
    const std::pair<int, int> ranges[] = {{1, 2}, {3, 5}, {6, 8}, {4, 4}, {1, 8}};
    for (const RangeCommand &command : Commands())
        for (const auto &[first, last] : ranges) {
            const std::string label = command.label, where = label + " on " + std::to_string(first) + "..";
            RangeEditor e(first, last);
            const auto state = [&e] { return std::tuple(e.SerialiseRoutine(), test::KeyFrameHistories(e.Moves()), e.Selection()); };
            const auto before = state();
            const Frames frames = test::MoveSnapshots(e.Moves(), 1);
            command.run(e);
            // A move keeps a key frame; one key frame has no order to reverse.
            if ((last - first == 7 && (label == "Cut" || label == "Delete Frame")) || (first == last && label.starts_with("Rev"))) {
                EXPECT_EQ(std::pair(state(), e.History().CanUndo()), std::pair(before, false)) << where;
                continue;
            }
            EXPECT_EQ(test::MoveSnapshots(e.Moves(), 1), command.expected(frames, first, last)) << where;
            EXPECT_EQ(e.CurrentFrameNumber(), command.current(first, last, 8)) << where;
            ASSERT_EQ(e.History().Count(), 1u) << where;
            EXPECT_EQ(e.History().UndoLabel(), command.label) << where;
            const auto after = state();
            ASSERT_TRUE(e.UndoChange()) << where;
            EXPECT_EQ(state(), before) << where;
            ASSERT_TRUE(e.RedoChange()) << where;
            EXPECT_EQ(state(), after) << where;
        }
}

TEST(FrameRanges, ARangeGrowsFromTheCurrentKeyFrameWhichStaysCurrent)
{
    RangeEditor e(4, 4);
    const std::tuple<const char *, std::function<void()>, FrameRange> steps[] = {
        {"Shift+click on 6", [&] { e.ExtendSelection(6); }, {4, 6}},
        {"Shift+click on 2", [&] { e.ExtendSelection(2); }, {2, 4}},
        {"Shift+Left", [&] { e.StepSelection(-1); }, {1, 4}},
        {"Shift+Left at the start, then Shift+Right to the current one", [&] { e.StepSelection(-1); e.StepSelection(1); e.StepSelection(1); e.StepSelection(1); }, {4, 4}},
        {"Shift+Right past it", [&] { e.StepSelection(1); }, {4, 5}},
        {"Select All", [&] { e.SelectAllFrames(); }, {1, 8}},
        {"Shift+Left after Select All", [&] { e.StepSelection(-1); }, {1, 7}},
        {"the current key frame chosen again", [&] { e.SelectFrame(4); }, {1, 7}},
        {"another key frame chosen", [&] { e.SelectFrame(5); }, {5, 5}},
    };
    for (const auto &[name, step, range] : steps) {
        step();
        EXPECT_EQ(e.SelectedFrames(), range) << name;
        EXPECT_EQ(e.CurrentFrameNumber(), std::string(name).starts_with("another") ? 5 : 4) << name;
    }
    e.SelectAllFrames();
    e.SelectMove(2);
    EXPECT_EQ(e.SelectedFrames(), (FrameRange{1, 1})) << "another move";
}

TEST(FrameRanges, TheCommandsOfOneKeyFrameLeaveTheRangeForTheCurrentKeyFrameAlone)
{
    RangeEditor e(2, 5);
    e.AddFrame();
    EXPECT_EQ(std::pair(e.SelectedFrames(), e.Commands().ReverseFrames), std::pair(FrameRange{9, 9}, false));
    e.UndoChange();
    e.CopyFrame();
    EXPECT_EQ(e.ClipboardFrames().size(), 4u * kFrameRecordSize);
    EXPECT_EQ(e.ClipboardFrame(), FrameSnapshot(*e.CurrentMove()->Frames[1])) << "Paste takes the first";
    e.SelectFrame(7);
    e.PasteFrame();
    EXPECT_EQ(FrameSnapshot(*e.CurrentFrame()), FrameSnapshot(*e.Moves()[1]->Frames[1]));
}

TEST(FrameRanges, PastingStopsAt255KeyFramesAndMovesAt256)
{
    const std::string one = FrameSnapshot(THFFrame{});
    {
        RangeEditor e(1, 1, 250);
        const std::string five = one + one + one + one + one, six = five + one;
        const std::string image = e.SerialiseRoutine();
        try {
            e.PasteKeyFrames(six);
            ADD_FAILURE() << "pasted past 255";
        } catch (const std::runtime_error &error) {
            EXPECT_STREQ(error.what(), "Cannot paste 6 key frames: the move has 250, and a move holds at most 255.");
        }
        EXPECT_EQ(e.SerialiseRoutine(), image);
        EXPECT_EQ(e.PasteKeyFrames(five), 2);
        EXPECT_EQ(e.CurrentMove()->FrameCount, 255);
        EXPECT_EQ(e.SelectedFrames(), (FrameRange{2, 6})) << "the pasted key frames are selected";
    }
    {
        RoutineEditor e;
        e.ReplaceRoutine(test::TestMoves(kMaxMoves - 2, 1));
        EXPECT_THROW(e.PasteMoves(test::TestMoves(3, 1)), std::runtime_error);
        EXPECT_EQ(e.Moves().size(), static_cast<size_t>(kMaxMoves - 2));
        TMoveList incoming = test::TestMoves(2, 2);
        incoming[1]->MoveName = "Move0";
        EXPECT_EQ(e.PasteMoves(std::move(incoming)), 1) << "after the current move";
        const std::vector<std::string> names = {e.Moves()[1]->MoveName, e.Moves()[2]->MoveName};
        EXPECT_EQ(names, (std::vector<std::string>{"Move0 2", "Move0 3"}))
            << "a name the routine, or a move pasted with it, has is told apart";
        EXPECT_EQ(e.History().UndoLabel(), "Paste Moves");
    }
}
