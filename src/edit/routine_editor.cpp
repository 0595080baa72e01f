#include "routine_editor.h"

#include "model/pose_ops.h"
#include "model/routine_codec.h"

#include <algorithm>

namespace hoofer {

RoutineEditor::~RoutineEditor()
{
    Clear();
}

void RoutineEditor::KeepPose(THFFrame &frame)
{
    std::string snapshot = FrameSnapshot(frame);
    // Only a neighbour that is equal is dropped; older entries are not compared.
    if (frame.UndoList.empty() || frame.UndoList.back() != snapshot) {
        frame.UndoList.push_back(std::move(snapshot));
        frame.RedoList.clear();
    }
}

namespace {
/// Takes the newest snapshot off one of the frame's histories.
std::string TakeNewest(TFrameHistory &history)
{
    std::string snapshot = std::move(history.back());
    history.pop_back();
    return snapshot;
}
} // namespace

void RoutineEditor::Changed(Change what, int move, int frame)
{
    if (OnChanged)
        OnChanged(RoutineChange{what, move, frame, CurrentMoveIndex(), CurrentFrameNumber()});
}

void RoutineEditor::SelectMove(int index)
{
    SelectOneFrame();
    if (index < 0 || index >= static_cast<int>(m_moves.size())) {
        m_currentMove = nullptr;
        m_currentFrame = nullptr;
        return;
    }
    m_currentMove = m_moves[index].get();
    // A key frame of the previous move must never stay current.
    m_currentFrame = FindFrame(1);
}

void RoutineEditor::SelectFrame(int number)
{
    if (number != CurrentFrameNumber() || number == 0)
        SelectOneFrame();
    m_currentFrame = FindFrame(number);
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
    c.WriteRoutine = CanWriteRoutine();
    c.PlayRoutine = std::any_of(m_moves.begin(), m_moves.end(), [](const auto &move) { return move->FrameCount > 0; });
    if (!CanEdit()) {
        // A move read without key frames can be repaired by adding one.
        c.AddFrame = m_currentMove && m_currentMove->FrameCount == 0;
        c.CopyMove = m_currentMove != nullptr;
        return c;
    }
    c.PlayMove = c.AddMove = c.RenameMove = true;
    c.DeleteMove = CanDeleteMove();
    c.AddFrame = c.InsertFrame = c.Copy = c.Cut = true;
    c.DeleteFrame = CanDeleteFrame();
    c.Paste = CanPaste();
    c.Undo = CanUndoFramePose();
    c.Redo = CanRedoFramePose();
    c.MirrorPose = c.ExportMove = true;
    c.DuplicateMove = CanDuplicateMove();
    c.MoveUp = CanShiftMove(-1);
    c.MoveDown = CanShiftMove(1);
    c.ReverseFrames = CanReverseFrames();
    c.SelectAllFrames = c.PasteKeyFrames = c.PlaySelection = c.CopyMove = true;
    return c;
}

void RoutineEditor::SetPartPosition(int part, int x, int y)
{
    if (!CanEdit() || part < 1 || part > kPartCount)
        return;
    const FrameState before = FrameState::Of(*m_currentFrame, false);
    FrameState after = before;
    after.Points[part - 1] = {x, y};
    PushPose("Type Coordinates", Change::Coordinates, part, before, std::move(after), kTypedPoint);
}

void RoutineEditor::SetInterpolation(int value)
{
    SetFrameNumber(&FrameState::Interpolation, &THFFrame::Interpolation, value, "Set Interpolation",
                   kTypedInterpolation);
}

void RoutineEditor::SetDisplacement(int value)
{
    SetFrameNumber(&FrameState::Displacement, &THFFrame::Displacement, value, "Set Displacement",
                   kTypedDisplacement);
}

void RoutineEditor::TimeKeyFrame(int interpolation)
{
    // The reference's frame on screen belongs to the current key frame only.
    SetFrameNumber(&FrameState::Interpolation, &THFFrame::Interpolation, interpolation,
                   "Time Key Frame to Reference", 0, false);
}

void RoutineEditor::SetReference(std::string label, std::optional<MoveReference> reference, bool continues)
{
    if (!m_currentMove || m_currentMove->Reference == reference)
        return;
    Push(std::make_unique<ReferenceCommand>(std::move(label), m_moves, Selection(), m_currentMove->Reference,
                                            std::move(reference), continues));
}

void RoutineEditor::SetFrameNumber(int32_t FrameState::*field, int32_t THFFrame::*frameField, int value,
                                   const char *label, int id, bool wholeRange)
{
    if (!CanEdit())
        return;
    if (wholeRange && RangeSelected()) {
        // Every selected key frame takes the value, unless all have it.
        SetRangeNumber(frameField, value, label, id);
        return;
    }
    const FrameState before = FrameState::Of(*m_currentFrame, false);
    // The box shows the key frame's own value again after every selection:
    // only a different value is an edit.
    if (before.*field == value)
        return;
    FrameState after = before;
    after.*field = value;
    PushPose(label, Change::Pose, 0, before, std::move(after), id);
}

int RoutineEditor::AddMove()
{
    const int count = static_cast<int>(m_moves.size());
    const int at = count >= 4 ? count - 2 : 0;
    TMoveList added;
    added.push_back(MakeStandingMove());
    Push(std::make_unique<InsertMovesCommand>("Add Move", m_moves, RoutineMoves{}, at, std::move(added), Selection(),
                                              EditSelection{at, 1, 0}));
    return at;
}

int RoutineEditor::RenameMove(const std::string &name)
{
    if (!m_currentMove)
        return -1;
    const int i = CurrentMoveIndex();
    if (m_currentMove->MoveName != name)
        Push(std::make_unique<RenameCommand>(m_moves, i, m_currentMove->MoveName, name, Selection()));
    else
        Changed(Change::MoveName, i);  // the selector shows the name as typed again
    return i;
}

bool RoutineEditor::CanDeleteMove() const
{
    return CanEdit() && m_moves.size() > 3;
}

int RoutineEditor::DeleteMove()
{
    if (!CanDeleteMove())
        return -1;
    const int i = CurrentMoveIndex();
    const int next = std::min(i, static_cast<int>(m_moves.size()) - 2);
    Push(std::make_unique<RemoveMovesCommand>("Delete Move", m_moves, RoutineMoves{}, i, 1, Selection(), EditSelection{next, 1, 0}));
    return next;
}

int RoutineEditor::AddFrame()
{
    if (!m_currentMove)
        return 0;
    auto frame = std::make_unique<THFFrame>();
    // A move read without key frames starts again from the all-zero pose.
    if (m_currentMove->FrameCount > 0)
        CopyFramePose(*m_currentMove->Frames.back(), *frame);
    std::vector<std::unique_ptr<THFFrame>> added;
    added.push_back(std::move(frame));
    const int number = m_currentMove->FrameCount + 1;
    const int move = CurrentMoveIndex();
    Push(std::make_unique<InsertFramesCommand>("Add Frame", m_moves, MoveFrames{move}, number - 1, std::move(added), Selection(),
                                               EditSelection{move, number, 0}));
    return number;
}

int RoutineEditor::InsertFrame()
{
    if (!CanEdit())
        return 0;
    auto frame = std::make_unique<THFFrame>();
    CopyFramePose(*m_currentFrame, *frame);
    std::vector<std::unique_ptr<THFFrame>> added;
    added.push_back(std::move(frame));
    const int i = m_currentMove->IndexOf(m_currentFrame);
    const int move = CurrentMoveIndex();
    Push(std::make_unique<InsertFramesCommand>("Insert Frame", m_moves, MoveFrames{move}, i, std::move(added), Selection(),
                                               EditSelection{move, i + 2, 0}));
    return i + 2;
}

bool RoutineEditor::CanDeleteFrame() const
{
    return CanEdit() && m_currentMove->FrameCount > SelectedFrames().Count();
}

int RoutineEditor::RemoveFrame(const char *label)
{
    if (!CanDeleteFrame())
        return 0;
    const FrameRange range = SelectedFrames();
    const int move = CurrentMoveIndex();
    // The follower of the last one deleted, or the new last key frame.
    const int number = std::min(range.First, m_currentMove->FrameCount - range.Count());
    Push(std::make_unique<RemoveFramesCommand>(label, m_moves, MoveFrames{move}, range.First - 1, range.Count(),
                                               Selection(), EditSelection{move, number, 0}));
    return number;
}

bool RoutineEditor::CanPaste() const
{
    // Only a whole snapshot can be pasted; Paste is offered with one only,
    // and a shortcut that slips through must not read what is not there.
    return CanEdit() && m_clipboardFrames.size() >= static_cast<size_t>(kFrameRecordSize);
}

template <typename Edit>
bool RoutineEditor::EditFrame(const char *label, Change what, Edit edit)
{
    const FrameState before = FrameState::Of(*m_currentFrame, true);
    THFFrame edited;
    before.Into(edited);
    edit(edited);
    return PushPose(label, what, 0, before, FrameState::Of(edited, true));
}

void RoutineEditor::PasteFrame()
{
    if (CanPaste())
        PasteFrame(ClipboardFrame());
}

void RoutineEditor::PasteFrame(const std::string &snapshot)
{
    if (!CanEdit() || snapshot.size() != static_cast<size_t>(kFrameRecordSize))
        return;
    EditFrame("Paste", Change::Pose, [&snapshot](THFFrame &frame) {
        KeepPose(frame);
        std::string copy = snapshot;
        TakeFrameSnapshot(copy, frame);
    });
}

int RoutineEditor::MoveFrame(int from, int to)
{
    if (!FindFrame(from) || !FindFrame(to) || from == to)
        return 0;
    const int move = CurrentMoveIndex();
    Push(std::make_unique<ReorderFramesCommand>(m_moves, move, from - 1, to - 1, Selection(),
                                                EditSelection{move, to, 0}));
    return to;
}

void RoutineEditor::PushUndoSnapshot()
{
    if (CanEdit())
        KeepPose(*m_currentFrame);
}

bool RoutineEditor::UndoFramePose()
{
    if (!CanEdit() || !CanUndoFramePose())
        return false;
    EditFrame("Frame Undo", Change::Pose, [](THFFrame &frame) {
        frame.RedoList.push_back(FrameSnapshot(frame));
        std::string snapshot = TakeNewest(frame.UndoList);
        TakeFrameSnapshot(snapshot, frame);
    });
    return true;
}

bool RoutineEditor::RedoFramePose()
{
    if (!CanEdit() || !CanRedoFramePose())
        return false;
    EditFrame("Frame Redo", Change::Pose, [](THFFrame &frame) {
        std::string snapshot = TakeNewest(frame.RedoList);
        // Straight onto the history: KeepPose would empty the redo list.
        frame.UndoList.push_back(FrameSnapshot(frame));
        TakeFrameSnapshot(snapshot, frame);
    });
    return true;
}

bool RoutineEditor::MirrorPose()
{
    if (!CanEdit())
        return false;
    if (RangeSelected()) {
        MirrorRange();
        return true;
    }
    EditFrame("Mirror Pose", Change::Coordinates, [](THFFrame &frame) {
        KeepPose(frame);
        hoofer::MirrorPose(frame);
    });
    return true;
}

} // namespace hoofer
