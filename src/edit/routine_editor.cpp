#include "routine_editor.h"

#include "edit/grid_snap.h"
#include "model/pose_ops.h"
#include "model/routine_codec.h"

#include <algorithm>

namespace hoofer {

RoutineEditor::~RoutineEditor()
{
    Clear();
}

void RoutineEditor::Changed(Change what)
{
    ++m_edits;
    Modified = what != Change::Routine;
    if (OnChanged)
        OnChanged();
}

void RoutineEditor::MarkSaved()
{
    Modified = false;
    if (OnChanged)
        OnChanged();
}

void RoutineEditor::MarkModified()
{
    Modified = true;
    if (OnChanged)
        OnChanged();
}

bool RoutineEditor::ReplaceRoutine(const std::string &image)
{
    // The whole image is read before anything is replaced, so one that
    // cannot be read leaves the routine and the selection as they were.
    TMoveList incoming = DecodeRoutine(image);
    FreeListItems(Moves);
    PackList(Moves);
    CurrentMove = nullptr;
    CurrentFrame = nullptr;
    Moves = std::move(incoming);
    Changed(Change::Routine);
    return !Moves.empty();
}

std::string RoutineEditor::SerialiseRoutine() const
{
    return EncodeRoutine(Moves);
}

void RoutineEditor::Clear()
{
    CurrentMove = nullptr;
    CurrentFrame = nullptr;
    Dragging = DragBlocked = false;
    m_nudgeFrame = nullptr;
    FreeListItems(Moves);
    Moves.clear();
}

void RoutineEditor::SelectMove(int index)
{
    if (index < 0 || index >= static_cast<int>(Moves.size())) {
        CurrentMove = nullptr;
        CurrentFrame = nullptr;
        return;
    }
    CurrentMove = Moves[index].get();
    // A key frame of the previous move must never stay current.
    CurrentFrame = FrameAt(1);
}

THFFrame *RoutineEditor::FrameAt(int number) const
{
    if (!CurrentMove || number < 1 || number > static_cast<int>(CurrentMove->Frames.size()))
        return nullptr;
    return CurrentMove->Frames[number - 1].get();
}

int RoutineEditor::CurrentFrameNumber() const
{
    return CurrentMove && CurrentFrame ? CurrentMove->IndexOf(CurrentFrame) + 1 : 0;
}

CommandStates RoutineEditor::Commands() const
{
    CommandStates c;
    if (!CurrentMove || !CurrentFrame) {
        // A move read without key frames can be repaired by adding one.
        c.AddFrame = CurrentMove && CurrentMove->Frames.empty();
        return c;
    }
    c.PlayMove = c.AddMove = c.RenameMove = true;
    c.DeleteMove = Moves.size() > 3;
    c.AddFrame = c.InsertFrame = c.Copy = c.Cut = true;
    c.DeleteFrame = CurrentMove->FrameCount > 1;
    c.Paste = !ClipboardFrame.empty();
    c.Undo = !CurrentFrame->UndoList.empty();
    c.Redo = !CurrentFrame->RedoList.empty();
    c.MirrorPose = c.ExportMove = true;
    const int index = CurrentMoveIndex();
    c.DuplicateMove = MoveRoom() > 0;
    c.MoveUp = index > 0;
    c.MoveDown = index + 1 < static_cast<int>(Moves.size());
    return c;
}

void RoutineEditor::SetPartPosition(int part, int x, int y)
{
    if (!CurrentMove || !CurrentFrame || part < 1 || part > kPartCount)
        return;
    CurrentFrame->Point(part) = {x, y};
    Changed(Change::Coordinates);
}

void RoutineEditor::SetInterpolation(int value)
{
    // The box shows the key frame's own value again after every selection:
    // only a different value is an edit.
    if (!CurrentMove || !CurrentFrame || CurrentFrame->Interpolation == value)
        return;
    CurrentFrame->Interpolation = value;
    Changed(Change::Pose);
}

void RoutineEditor::SetDisplacement(int value)
{
    if (!CurrentMove || !CurrentFrame || CurrentFrame->Displacement == value)
        return;
    CurrentFrame->Displacement = value;
    Changed(Change::Pose);
}

int RoutineEditor::MouseDown(int x, int y)
{
    DragBlocked = false;
    int hit = 0;
    if (CurrentMove && CurrentFrame) {
        PushUndoSnapshot();
        hit = HitBodyPart(*CurrentFrame, x, y);
        m_pressedPose = CurrentFrame->Points;
    }
    if (hit == 0)
        DragBlocked = true;
    return hit;
}

bool RoutineEditor::MouseMove(bool left, bool shiftOrOption, int part, int x, int y, bool snap, int grid)
{
    if (DragBlocked || !left || !shiftOrOption)
        return false;
    if (!CurrentMove || !CurrentFrame || part < 1 || part > kPartCount)
        return false;
    Dragging = true;
    if (KeepBoneLengths)
        CurrentFrame->Points = Skeleton::Drag(m_pressedPose, part, x, PointerToPointY(y), snap, grid);
    else
        CurrentFrame->Point(part) = {SnapCoordinate(x, snap, grid), SnapCoordinate(PointerToPointY(y), snap, grid)};
    Changed(Change::Coordinates);
    return true;
}

void RoutineEditor::MouseUp()
{
    Dragging = false;
    DragBlocked = false;
}

bool RoutineEditor::CancelDrag()
{
    if (!Dragging)
        return false;
    DragBlocked = true;
    // A cancelled drag is over: a second Escape before the release must not
    // undo an earlier, unrelated change of the key frame.
    Dragging = false;
    PopUndoSnapshot();
    return true;
}

int RoutineEditor::AddMove()
{
    const int count = static_cast<int>(Moves.size());
    const int at = count >= 4 ? count - 2 : 0;
    Moves.insert(Moves.begin() + at, MakeStandingMove());
    Changed(Change::Moves);
    return at;
}

int RoutineEditor::RenameMove(const std::string &name)
{
    if (!CurrentMove)
        return -1;
    CurrentMove->MoveName = name;
    Changed(Change::Moves);
    return CurrentMoveIndex();
}

int RoutineEditor::DeleteMove()
{
    if (!CurrentMove || Moves.size() <= 2)
        return -1;
    int i = CurrentMoveIndex();
    CurrentMove = nullptr;
    CurrentFrame = nullptr;
    Moves.erase(Moves.begin() + i);
    Changed(Change::Moves);
    return std::min(i, static_cast<int>(Moves.size()) - 1);
}

int RoutineEditor::AddFrame()
{
    if (!CurrentMove)
        return 0;
    auto frame = std::make_unique<THFFrame>();
    // A move read without key frames starts again from the all-zero pose.
    if (!CurrentMove->Frames.empty())
        CopyFramePose(*CurrentMove->Frames.back(), *frame);
    CurrentMove->Frames.push_back(std::move(frame));
    CurrentMove->SyncFrameCount();
    Changed(Change::KeyFrames);
    return CurrentMove->FrameCount;
}

int RoutineEditor::InsertFrame()
{
    if (!CurrentMove || !CurrentFrame)
        return 0;
    auto frame = std::make_unique<THFFrame>();
    CopyFramePose(*CurrentFrame, *frame);
    const int i = CurrentMove->IndexOf(CurrentFrame);
    CurrentMove->Frames.insert(CurrentMove->Frames.begin() + i, std::move(frame));
    CurrentMove->SyncFrameCount();
    Changed(Change::KeyFrames);
    return i + 2;
}

bool RoutineEditor::CanDeleteFrame() const
{
    return CurrentMove && CurrentFrame && CurrentMove->FrameCount > 1;
}

int RoutineEditor::DeleteFrame()
{
    if (!CanDeleteFrame())
        return 0;
    const int i = CurrentMove->IndexOf(CurrentFrame);
    CurrentFrame = nullptr;
    CurrentMove->Frames.erase(CurrentMove->Frames.begin() + i);
    CurrentMove->SyncFrameCount();
    const int number = std::min(i + 1, CurrentMove->FrameCount);
    CurrentFrame = FrameAt(number);
    Changed(Change::KeyFrames);
    return number;
}

void RoutineEditor::CopyFrame()
{
    ClipboardFrame.clear();
    if (CurrentMove && CurrentFrame)
        ClipboardFrame = FrameSnapshot(*CurrentFrame);
}

bool RoutineEditor::CanPaste() const
{
    // Only a whole snapshot can be pasted; Paste is offered with one only,
    // and a shortcut that slips through must not read what is not there.
    return CurrentMove && CurrentFrame && ClipboardFrame.size() == static_cast<size_t>(kFrameRecordSize);
}

void RoutineEditor::PasteFrame()
{
    if (!CanPaste())
        return;
    std::string copy = ClipboardFrame;
    TakeFrameSnapshot(copy, *CurrentFrame);
    Changed(Change::Pose);
}

int RoutineEditor::MoveFrame(int from, int to)
{
    if (!FrameAt(from) || !FrameAt(to) || from == to)
        return 0;
    auto &frames = CurrentMove->Frames;
    const auto first = frames.begin() + (from - 1);
    const auto last = frames.begin() + (to - 1);
    // The frame objects move, so each keeps its undo and redo history.
    if (from < to)
        std::rotate(first, first + 1, last + 1);
    else
        std::rotate(last, first, first + 1);
    CurrentFrame = FrameAt(to);
    Changed(Change::KeyFrames);
    return to;
}

void RoutineEditor::PushUndoSnapshot()
{
    if (!CurrentMove || !CurrentFrame)
        return;
    std::string snapshot = FrameSnapshot(*CurrentFrame);
    auto &history = CurrentFrame->UndoList;
    // Only a neighbour that is equal is dropped; older entries are not compared.
    if (history.empty() || history.back() != snapshot) {
        history.push_back(std::move(snapshot));
        // A new edit branches off: what was undone cannot come back.
        CurrentFrame->RedoList.clear();
    }
}

bool RoutineEditor::PopUndoSnapshot()
{
    if (!CurrentMove || !CurrentFrame || CurrentFrame->UndoList.empty())
        return false;
    std::string snapshot = std::move(CurrentFrame->UndoList.back());
    CurrentFrame->UndoList.pop_back();
    // Undo of a press that moved nothing brings back the same pose: no edit.
    const bool differs = snapshot != FrameSnapshot(*CurrentFrame);
    TakeFrameSnapshot(snapshot, *CurrentFrame);
    if (differs)
        Changed(Change::Pose);
    return true;
}

bool RoutineEditor::Undo()
{
    if (!CurrentMove || !CurrentFrame || CurrentFrame->UndoList.empty())
        return false;
    CurrentFrame->RedoList.push_back(FrameSnapshot(*CurrentFrame));
    return PopUndoSnapshot();
}

bool RoutineEditor::Redo()
{
    if (!CurrentMove || !CurrentFrame || CurrentFrame->RedoList.empty())
        return false;
    std::string snapshot = std::move(CurrentFrame->RedoList.back());
    CurrentFrame->RedoList.pop_back();
    // Straight onto the history: PushUndoSnapshot would empty the redo list.
    CurrentFrame->UndoList.push_back(FrameSnapshot(*CurrentFrame));
    TakeFrameSnapshot(snapshot, *CurrentFrame);
    Changed(Change::Pose);
    return true;
}

bool RoutineEditor::MirrorPose()
{
    if (!CurrentMove || !CurrentFrame)
        return false;
    PushUndoSnapshot();
    hoofer::MirrorPose(*CurrentFrame);
    Changed(Change::Coordinates);
    return true;
}

} // namespace hoofer
