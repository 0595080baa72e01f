#include "routine_editor.h"

#include "edit/grid_snap.h"
#include "model/pose_ops.h"
#include "model/routine_codec.h"
#include "view/figure_drawing.h"

#include <algorithm>

namespace hoofer {

RoutineEditor::~RoutineEditor()
{
    Clear();
}

namespace {
// The runs of changes that are one entry of the routine's history.
constexpr int kTypedRun = 1;
constexpr int kInterpolationRun = 2;
constexpr int kDisplacementRun = 3;
} // namespace

void RoutineEditor::Changed(Change what, int move, int frame)
{
    if (what != Change::Mark && what != Change::History)
        ++m_edits;
    if (OnChanged)
        OnChanged(RoutineChange{what, move, frame, CurrentMoveIndex(), CurrentFrameNumber()});
}

bool RoutineEditor::ReplaceRoutine(const std::string &image)
{
    // The whole image is read before anything is replaced, so one that
    // cannot be read leaves the routine and the selection as they were.
    return ReplaceRoutine(DecodeRoutine(image));
}

bool RoutineEditor::ReplaceRoutine(TMoveList moves)
{
    m_pressedFrame.reset();
    m_dragging = false;
    m_history.Clear();
    m_currentMove = nullptr;
    m_currentFrame = nullptr;
    FreeListItems(m_moves);
    m_moves = std::move(moves);
    SelectMove(0);
    Changed(Change::Routine);
    return !m_moves.empty();
}

std::string RoutineEditor::SerialiseRoutine() const
{
    return EncodeRoutine(m_moves);
}

void RoutineEditor::Clear()
{
    m_currentMove = nullptr;
    m_currentFrame = nullptr;
    m_dragging = m_dragBlocked = false;
    m_nudgeFrame = nullptr;
    m_pressedFrame.reset();
    // The history's entries refer to these moves.
    m_history.Clear();
    FreeListItems(m_moves);
    m_moves.clear();
}

void RoutineEditor::SelectMove(int index)
{
    if (index < 0 || index >= static_cast<int>(m_moves.size())) {
        m_currentMove = nullptr;
        m_currentFrame = nullptr;
        return;
    }
    m_currentMove = m_moves[index].get();
    // A key frame of the previous move must never stay current.
    m_currentFrame = FindFrame(1);
}

THFFrame *RoutineEditor::FindFrame(int number) const
{
    if (!m_currentMove || number < 1 || number > m_currentMove->FrameCount)
        return nullptr;
    return m_currentMove->Frames[number - 1].get();
}

int RoutineEditor::CurrentFrameNumber() const
{
    return m_currentMove && m_currentFrame ? m_currentMove->IndexOf(m_currentFrame) + 1 : 0;
}

CommandStates RoutineEditor::Commands() const
{
    CommandStates c;
    if (!m_currentMove || !m_currentFrame) {
        // A move read without key frames can be repaired by adding one.
        c.AddFrame = m_currentMove && m_currentMove->FrameCount == 0;
        return c;
    }
    c.PlayMove = c.AddMove = c.RenameMove = true;
    c.DeleteMove = m_moves.size() > 3;
    c.AddFrame = c.InsertFrame = c.Copy = c.Cut = true;
    c.DeleteFrame = m_currentMove->FrameCount > 1;
    c.Paste = !m_clipboardFrame.empty();
    c.Undo = !m_currentFrame->UndoList.empty();
    c.Redo = !m_currentFrame->RedoList.empty();
    c.MirrorPose = c.ExportMove = true;
    const int index = CurrentMoveIndex();
    c.DuplicateMove = MoveRoom() > 0;
    c.MoveUp = index > 0;
    c.MoveDown = index + 1 < static_cast<int>(m_moves.size());
    return c;
}

void RoutineEditor::SetPartPosition(int part, int x, int y)
{
    if (!m_currentMove || !m_currentFrame || part < 1 || part > kPartCount)
        return;
    BeginChange();
    const FrameState before = FrameState::Of(*m_currentFrame, false);
    m_currentFrame->Point(part) = {x, y};
    RecordPose("Type Coordinates", Change::Coordinates, part, before, kTypedRun);
}

void RoutineEditor::SetInterpolation(int value)
{
    // The box shows the key frame's own value again after every selection:
    // only a different value is an edit.
    if (!m_currentMove || !m_currentFrame || m_currentFrame->Interpolation == value)
        return;
    BeginChange();
    const FrameState before = FrameState::Of(*m_currentFrame, false);
    m_currentFrame->Interpolation = value;
    RecordPose("Set Interpolation", Change::Pose, 0, before, kInterpolationRun);
}

void RoutineEditor::SetDisplacement(int value)
{
    if (!m_currentMove || !m_currentFrame || m_currentFrame->Displacement == value)
        return;
    BeginChange();
    const FrameState before = FrameState::Of(*m_currentFrame, false);
    m_currentFrame->Displacement = value;
    RecordPose("Set Displacement", Change::Pose, 0, before, kDisplacementRun);
}

int RoutineEditor::MouseDown(int x, int y)
{
    BeginChange();
    m_dragBlocked = false;
    int hit = 0;
    if (m_currentMove && m_currentFrame) {
        m_pressedFrame = FrameState::Of(*m_currentFrame, true);
        m_pressedAt = Selection();
        m_pressedTarget = m_currentFrame;
        PushUndoSnapshot();
        hit = HitBodyPart(*m_currentFrame, x, y);
        m_pressedPose = m_currentFrame->Points;
    }
    if (hit == 0)
        m_dragBlocked = true;
    return hit;
}

bool RoutineEditor::MouseMove(bool left, bool shiftOrOption, int part, int x, int y, bool snap, int grid)
{
    if (m_dragBlocked || !left || !shiftOrOption)
        return false;
    if (!m_currentMove || !m_currentFrame || part < 1 || part > kPartCount)
        return false;
    // A drag poses the key frame pressed on, and no other.
    if (!m_pressedFrame || m_currentFrame != m_pressedTarget)
        return false;
    m_dragging = true;
    m_dragPart = part;
    if (m_keepBoneLengths)
        m_currentFrame->Points = Skeleton::Drag(m_pressedPose, part, x, PixelRowToPointY(y), snap, grid);
    else
        m_currentFrame->Point(part) = {SnapCoordinate(x, snap, grid), SnapCoordinate(PixelRowToPointY(y), snap, grid)};
    FrameChanged(Change::Coordinates);
    return true;
}

void RoutineEditor::MouseUp()
{
    const bool dragged = m_dragging;
    if (dragged)
        RecordDrag();
    m_dragging = false;
    m_pressedFrame.reset();
    m_dragBlocked = false;
    if (dragged)
        Changed(Change::Mark);
}

bool RoutineEditor::CancelDrag()
{
    if (!m_dragging)
        return false;
    m_dragBlocked = true;
    // A cancelled drag is over: a second Escape before the release must not
    // undo an earlier, unrelated change of the key frame.
    m_dragging = false;
    m_pressedFrame.reset();
    PopUndoSnapshot();
    return true;
}

int RoutineEditor::AddMove()
{
    const EditSelection before = BeginChange();
    const int count = static_cast<int>(m_moves.size());
    const int at = count >= 4 ? count - 2 : 0;
    m_moves.insert(m_moves.begin() + at, MakeStandingMove());
    SelectMove(at);
    Record(std::make_unique<RunCommand>("Add Move", m_moves, -1, at, 1, before, Selection()));
    Changed(Change::Moves, at);
    return at;
}

int RoutineEditor::RenameMove(const std::string &name)
{
    if (!m_currentMove)
        return -1;
    const EditSelection where = BeginChange();
    const int i = CurrentMoveIndex();
    if (m_currentMove->MoveName != name)
        Record(std::make_unique<RenameCommand>(m_moves, i, m_currentMove->MoveName, name, where));
    m_currentMove->MoveName = name;
    Changed(Change::MoveName, i);
    return i;
}

int RoutineEditor::DeleteMove()
{
    if (!m_currentMove || m_moves.size() <= 2)
        return -1;
    const EditSelection before = BeginChange();
    int i = CurrentMoveIndex();
    m_currentMove = nullptr;
    m_currentFrame = nullptr;
    // The command takes the move out of the routine and keeps it whole.
    auto command = std::make_unique<RunCommand>("Delete Move", m_moves, -1, i, 1, before, EditSelection{});
    command->Redo();
    const int next = std::min(i, static_cast<int>(m_moves.size()) - 1);
    SelectMove(next);
    command->SetSelectionAfter(Selection());
    Record(std::move(command));
    Changed(Change::Moves, i);
    return next;
}

int RoutineEditor::AddFrame()
{
    if (!m_currentMove)
        return 0;
    const EditSelection before = BeginChange();
    auto frame = std::make_unique<THFFrame>();
    // A move read without key frames starts again from the all-zero pose.
    if (m_currentMove->FrameCount > 0)
        CopyFramePose(*m_currentMove->Frames.back(), *frame);
    m_currentMove->Frames.push_back(std::move(frame));
    m_currentMove->SyncFrameCount();
    const int number = m_currentMove->FrameCount;
    SelectFrame(number);
    Record(std::make_unique<RunCommand>("Add Frame", m_moves, CurrentMoveIndex(), number - 1, 1, before, Selection()));
    Changed(Change::KeyFrames, CurrentMoveIndex(), number);
    return number;
}

int RoutineEditor::InsertFrame()
{
    if (!m_currentMove || !m_currentFrame)
        return 0;
    const EditSelection before = BeginChange();
    auto frame = std::make_unique<THFFrame>();
    CopyFramePose(*m_currentFrame, *frame);
    const int i = m_currentMove->IndexOf(m_currentFrame);
    m_currentMove->Frames.insert(m_currentMove->Frames.begin() + i, std::move(frame));
    m_currentMove->SyncFrameCount();
    Record(std::make_unique<RunCommand>("Insert Frame", m_moves, CurrentMoveIndex(), i, 1, before, Selection()));
    Changed(Change::KeyFrames, CurrentMoveIndex(), i + 1);
    return i + 2;
}

bool RoutineEditor::CanDeleteFrame() const
{
    return m_currentMove && m_currentFrame && m_currentMove->FrameCount > 1;
}

int RoutineEditor::RemoveFrame(const char *label)
{
    if (!CanDeleteFrame())
        return 0;
    const EditSelection before = BeginChange();
    const int i = m_currentMove->IndexOf(m_currentFrame);
    m_currentFrame = nullptr;
    // The command takes the key frame out and keeps it, with its histories.
    auto command = std::make_unique<RunCommand>(label, m_moves, before.MoveIndex, i, 1,
                                                before, EditSelection{});
    command->Redo();
    const int number = std::min(i + 1, m_currentMove->FrameCount);
    m_currentFrame = FindFrame(number);
    command->SetSelectionAfter(Selection());
    Record(std::move(command));
    Changed(Change::KeyFrames, CurrentMoveIndex(), i + 1);
    return number;
}

void RoutineEditor::CopyFrame()
{
    m_clipboardFrame.clear();
    if (m_currentMove && m_currentFrame)
        m_clipboardFrame = FrameSnapshot(*m_currentFrame);
}

bool RoutineEditor::CanPaste() const
{
    // Only a whole snapshot can be pasted; Paste is offered with one only,
    // and a shortcut that slips through must not read what is not there.
    return m_currentMove && m_currentFrame && m_clipboardFrame.size() == static_cast<size_t>(kFrameRecordSize);
}

void RoutineEditor::PasteFrame()
{
    if (!CanPaste())
        return;
    BeginChange();
    const FrameState before = FrameState::Of(*m_currentFrame, true);
    PushUndoSnapshot();
    std::string copy = m_clipboardFrame;
    TakeFrameSnapshot(copy, *m_currentFrame);
    RecordPose("Paste", Change::Pose, 0, before);
}

int RoutineEditor::MoveFrame(int from, int to)
{
    if (!FindFrame(from) || !FindFrame(to) || from == to)
        return 0;
    const EditSelection before = BeginChange();
    auto command = std::make_unique<ReorderCommand>("Move Key Frame", m_moves, before.MoveIndex, from - 1, to - 1,
                                                    before, EditSelection{before.MoveIndex, to, 0});
    command->Redo();
    Record(std::move(command));
    m_currentFrame = FindFrame(to);
    Changed(Change::KeyFrames, CurrentMoveIndex(), to);
    return to;
}

void RoutineEditor::PushUndoSnapshot()
{
    if (!m_currentMove || !m_currentFrame)
        return;
    std::string snapshot = FrameSnapshot(*m_currentFrame);
    auto &history = m_currentFrame->UndoList;
    // Only a neighbour that is equal is dropped; older entries are not compared.
    if (history.empty() || history.back() != snapshot) {
        history.push_back(std::move(snapshot));
        // A new edit branches off: what was undone cannot come back.
        m_currentFrame->RedoList.clear();
    }
}

bool RoutineEditor::PopUndoSnapshot()
{
    if (!m_currentMove || !m_currentFrame || m_currentFrame->UndoList.empty())
        return false;
    std::string snapshot = std::move(m_currentFrame->UndoList.back());
    m_currentFrame->UndoList.pop_back();
    // Undo of a press that moved nothing brings back the same pose: no edit.
    const bool differs = snapshot != FrameSnapshot(*m_currentFrame);
    TakeFrameSnapshot(snapshot, *m_currentFrame);
    FrameChanged(differs ? Change::Pose : Change::History);
    return true;
}

bool RoutineEditor::Undo()
{
    if (!m_currentMove || !m_currentFrame || m_currentFrame->UndoList.empty())
        return false;
    BeginChange();
    const FrameState before = FrameState::Of(*m_currentFrame, true);
    m_currentFrame->RedoList.push_back(FrameSnapshot(*m_currentFrame));
    std::string snapshot = std::move(m_currentFrame->UndoList.back());
    m_currentFrame->UndoList.pop_back();
    TakeFrameSnapshot(snapshot, *m_currentFrame);
    RecordPose("Frame Undo", Change::Pose, 0, before);
    return true;
}

bool RoutineEditor::Redo()
{
    if (!m_currentMove || !m_currentFrame || m_currentFrame->RedoList.empty())
        return false;
    BeginChange();
    const FrameState before = FrameState::Of(*m_currentFrame, true);
    std::string snapshot = std::move(m_currentFrame->RedoList.back());
    m_currentFrame->RedoList.pop_back();
    // Straight onto the history: PushUndoSnapshot would empty the redo list.
    m_currentFrame->UndoList.push_back(FrameSnapshot(*m_currentFrame));
    TakeFrameSnapshot(snapshot, *m_currentFrame);
    RecordPose("Frame Redo", Change::Pose, 0, before);
    return true;
}

bool RoutineEditor::MirrorPose()
{
    if (!m_currentMove || !m_currentFrame)
        return false;
    BeginChange();
    const FrameState before = FrameState::Of(*m_currentFrame, true);
    PushUndoSnapshot();
    hoofer::MirrorPose(*m_currentFrame);
    RecordPose("Mirror Pose", Change::Coordinates, 0, before);
    return true;
}

} // namespace hoofer
