// Ranges of key frames in the editing core: selecting a run of neighbours
// with the current key frame, and the commands that act on all of them at
// once (copy, delete, mirror, reverse, a typed interpolation or
// displacement), each one entry of the routine's history. Pasting key frames
// and moves brought from the clipboard lives here too.
#include "routine_editor.h"

#include "edit/range_commands.h"
#include "model/pose_ops.h"
#include "model/routine_codec.h"

#include <algorithm>
#include <stdexcept>

namespace hoofer {

FrameRange RoutineEditor::SelectedFrames() const
{
    const int current = CurrentFrameNumber();
    if (current == 0)
        return {};
    if (m_rangeFirst == 0)
        return {current, current};
    return {m_rangeFirst, m_rangeLast};
}

void RoutineEditor::SetRange(int first, int last)
{
    const int current = CurrentFrameNumber();
    // The range always holds the current key frame and lies within the move.
    if (current == 0 || first > last || first < 1 || last > m_currentMove->FrameCount || current < first
        || current > last || first == last) {
        m_rangeFirst = m_rangeLast = 0;
        return;
    }
    m_rangeFirst = first;
    m_rangeLast = last;
}

void RoutineEditor::ExtendSelection(int number)
{
    const int current = CurrentFrameNumber();
    if (current == 0 || !FindFrame(number))
        return;
    SetRange(std::min(current, number), std::max(current, number));
}

void RoutineEditor::StepSelection(int by)
{
    const FrameRange range = SelectedFrames();
    if (range.First == 0)
        return;
    const int current = CurrentFrameNumber();
    if (range.First != current && range.Last != current) {
        // The current key frame inside the range (after Select All): the
        // last end moves, never past the current key frame.
        SetRange(range.First, std::clamp(range.Last + by, current, m_currentMove->FrameCount));
        return;
    }
    // The end away from the current key frame moves, and may pass it.
    const int far = std::clamp((range.Last != current ? range.Last : range.First) + by, 1, m_currentMove->FrameCount);
    SetRange(std::min(current, far), std::max(current, far));
}

void RoutineEditor::SelectAllFrames()
{
    if (CanEdit())
        SetRange(1, m_currentMove->FrameCount);
}

void RoutineEditor::SelectOneFrame()
{
    m_rangeFirst = m_rangeLast = 0;
}

void RoutineEditor::Select(const EditSelection &where)
{
    SelectMove(where.MoveIndex);
    SelectFrame(where.FrameNumber);
    SetRange(where.RangeFirst, where.RangeLast);
}

EditSelection RoutineEditor::Selection(int part) const
{
    EditSelection where{CurrentMoveIndex(), CurrentFrameNumber(), part};
    if (m_rangeFirst != 0 && where.FrameNumber != 0) {
        where.RangeFirst = m_rangeFirst;
        where.RangeLast = m_rangeLast;
    }
    return where;
}

void RoutineEditor::CopyFrame()
{
    m_clipboardFrames.clear();
    if (!CanEdit())
        return;
    const FrameRange range = SelectedFrames();
    for (int n = range.First; n <= range.Last; ++n)
        AppendFrameSnapshot(m_clipboardFrames, *FindFrame(n));
}

std::string RoutineEditor::ClipboardFrame() const
{
    return m_clipboardFrames.substr(0, kFrameRecordSize);
}

template <typename Edit>
void RoutineEditor::EditRange(const char *label, Change what, int id, bool withHistories, Edit edit)
{
    const FrameRange range = SelectedFrames();
    std::vector<FrameState> before, after;
    bool changed = false;
    for (int n = range.First; n <= range.Last; ++n) {
        before.push_back(FrameState::Of(*FindFrame(n), withHistories));
        THFFrame edited;
        before.back().Into(edited);
        edit(edited);
        after.push_back(FrameState::Of(edited, withHistories));
        changed = changed || !after.back().SamePose(before.back());
    }
    if (!changed)
        return;
    Push(std::make_unique<RangePoseCommand>(label, what, m_moves, Selection(), std::move(before), std::move(after), id));
}

void RoutineEditor::SetRangeNumber(int32_t THFFrame::*field, int value, const char *label, int id)
{
    EditRange(label, Change::Pose, id, false, [&](THFFrame &frame) { frame.*field = value; });
}

void RoutineEditor::MirrorRange()
{
    EditRange("Mirror Pose", Change::Coordinates, 0, true, [](THFFrame &frame) {
        KeepPose(frame);
        hoofer::MirrorPose(frame);
    });
}

int RoutineEditor::ReverseFrames()
{
    if (!CanReverseFrames())
        return 0;
    const FrameRange range = SelectedFrames();
    const int move = CurrentMoveIndex();
    // The current key frame goes with the reversal, to the other end.
    const int current = range.First + range.Last - CurrentFrameNumber();
    Push(std::make_unique<ReverseFramesCommand>(m_moves, move, range.First, range.Last, Selection(),
                                                EditSelection{move, current, 0, range.First, range.Last}));
    return current;
}

int RoutineEditor::PasteKeyFrames(const std::string &snapshots)
{
    if (!CanEdit() || snapshots.empty() || snapshots.size() % kFrameRecordSize != 0)
        return 0;
    const int count = static_cast<int>(snapshots.size() / kFrameRecordSize);
    const int frames = m_currentMove->FrameCount;
    if (frames + count > kMaxFramesPerMove)
        throw std::runtime_error("Cannot paste " + std::to_string(count) + " key frames: the move has "
                                 + std::to_string(frames) + ", and a move holds at most 255.");
    std::vector<std::unique_ptr<THFFrame>> added;
    std::string buffer = snapshots;
    while (!buffer.empty()) {
        added.push_back(std::make_unique<THFFrame>());
        TakeFrameSnapshot(buffer, *added.back());
    }
    const int first = CurrentFrameNumber() + 1;
    const int move = CurrentMoveIndex();
    Push(std::make_unique<InsertFramesCommand>("Paste Key Frames", m_moves, MoveFrames{move}, first - 1,
                                               std::move(added), Selection(),
                                               EditSelection{move, first, 0, first, first + count - 1}));
    return first;
}

int RoutineEditor::PasteMoves(TMoveList incoming)
{
    if (incoming.empty())
        return -1;
    RequireMoveRoom(incoming.size(), "would be pasted");
    // A name the routine, or a move pasted before it, has already is told
    // apart as Duplicate Move would.
    std::vector<std::string> names;
    for (const auto &move : m_moves)
        names.push_back(TrimName(move->MoveName));
    for (auto &move : incoming) {
        if (std::find(names.begin(), names.end(), TrimName(move->MoveName)) != names.end())
            move->MoveName = NameForCopy(move->MoveName, names);
        names.push_back(TrimName(move->MoveName));
    }
    const int at = CurrentMoveIndex() + 1;
    Push(std::make_unique<InsertMovesCommand>(incoming.size() == 1 ? "Paste Move" : "Paste Moves", m_moves,
                                              RoutineMoves{}, at, std::move(incoming), Selection(),
                                              EditSelection{at, 1, 0}));
    return at;
}

} // namespace hoofer
