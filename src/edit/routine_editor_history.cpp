// The routine's history in the editing core: every change is pushed into it
// as one entry, Edit > Undo and Redo walk it, and whether the routine has
// unsaved changes follows it.
#include "routine_editor.h"

#include "model/routine_codec.h"

namespace hoofer {

bool RoutineEditor::ReplaceRoutine(const std::string &image)
{
    // The whole image is read before anything is replaced, so one that
    // cannot be read leaves the routine and the selection as they were.
    return ReplaceRoutine(DecodeRoutine(image));
}

bool RoutineEditor::ReplaceRoutine(TMoveList moves)
{
    Clear();
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
    SelectOneFrame();
    m_currentMove = nullptr;
    m_currentFrame = nullptr;
    // The history's entries refer to these moves.
    m_history.Clear();
    FreeListItems(m_moves);
    m_moves.clear();
}

void RoutineEditor::SetOwnFile(const std::string &path)
{
    m_file.SetOwnFile(path);
    Changed(Change::File);
}

void RoutineEditor::DetachFile()
{
    m_file.Detach();
    Changed(Change::File);
}

void RoutineEditor::RestoredFrom(const std::string &source)
{
    m_file.Restored(source);
    Changed(Change::File);
}

void RoutineEditor::MarkSaved()
{
    m_history.SetClean();
    Changed(Change::Mark);
}

void RoutineEditor::MarkModified()
{
    m_history.ForgetClean();
    Changed(Change::Mark);
}

bool RoutineEditor::RestoreRoutine(TMoveList moves)
{
    Push(std::make_unique<SwapRoutineCommand>("Restore Routine", m_moves, std::move(moves), Selection(),
                                              EditSelection{0, 1, 0}));
    return !m_moves.empty();
}

void RoutineEditor::Push(std::unique_ptr<RoutineCommand> command)
{
    const Change kind = command->Kind();
    EditSelection after = command->SelectionAfter();
    const int frame = command->FrameConcerned(after);
    // The command may take the current move or key frame away.
    m_currentMove = nullptr;
    m_currentFrame = nullptr;
    m_history.Push(std::move(command));
    Select(after);
    after.FrameNumber = frame;
    ChangedAt(kind, after);
}

bool RoutineEditor::PushPose(std::string label, Change what, int part, const FrameState &before, FrameState after,
                             int id, bool continues)
{
    if (after.SamePose(FrameState::Of(*m_currentFrame, false))) {
        // Only the key frame's own histories may have changed.
        if (after.HasHistories)
            after.Into(*m_currentFrame);
        Changed(Change::History, CurrentMoveIndex(), CurrentFrameNumber());
        return false;
    }
    Push(std::make_unique<PoseCommand>(std::move(label), what, m_moves, Selection(part), before, std::move(after), id,
                                       continues));
    return true;
}

void RoutineEditor::ChangedAt(Change what, const EditSelection &where)
{
    switch (what) {
    case Change::Routine:
    case Change::Mark:
    case Change::File:
        Changed(what);
        return;
    case Change::Moves:
    case Change::MoveName:
    case Change::Reference:
        Changed(what, where.MoveIndex);
        return;
    default:
        Changed(what, where.MoveIndex, where.FrameNumber);
    }
}

EditSelection RoutineEditor::ShowWalk(const EditCommand &command, bool back)
{
    const EditSelection where = back ? command.SelectionBefore() : command.SelectionAfter();
    Select(where);
    // Every entry is one of the editor's own commands.
    const auto &routineCommand = static_cast<const RoutineCommand &>(command);
    EditSelection concerned = where;
    concerned.FrameNumber = routineCommand.FrameConcerned(where);
    ChangedAt(routineCommand.Kind(), concerned);
    return where;
}

bool RoutineEditor::WithdrawChange()
{
    const auto *newest = static_cast<const RoutineCommand *>(m_history.Newest());
    if (!newest)
        return false;
    // The entry goes with the withdrawal: what it tells is taken first.
    const EditSelection where = newest->SelectionBefore();
    const Change kind = newest->Kind();
    EditSelection concerned = where;
    concerned.FrameNumber = newest->FrameConcerned(where);
    m_currentMove = nullptr;
    m_currentFrame = nullptr;
    m_history.Withdraw();
    Select(where);
    ChangedAt(kind, concerned);
    return true;
}

std::optional<EditSelection> RoutineEditor::UndoChange()
{
    if (!m_history.CanUndo())
        return std::nullopt;
    m_currentMove = nullptr;
    m_currentFrame = nullptr;
    return ShowWalk(*m_history.Undo(), true);
}

std::optional<EditSelection> RoutineEditor::RedoChange()
{
    if (!m_history.CanRedo())
        return std::nullopt;
    m_currentMove = nullptr;
    m_currentFrame = nullptr;
    return ShowWalk(*m_history.Redo(), false);
}

} // namespace hoofer
