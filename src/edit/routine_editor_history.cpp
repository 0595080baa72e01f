// The routine's history in the editing core: every change goes into it as
// one entry, Edit > Undo and Redo walk it, and whether the routine has
// unsaved changes follows it.
#include "routine_editor.h"

#include "model/routine_codec.h"

namespace hoofer {

void RoutineEditor::MarkSaved()
{
    // What is saved includes a drag under way, which ends here.
    BeginChange();
    m_history.SetClean();
    Changed(Change::Mark);
}

void RoutineEditor::MarkModified()
{
    m_history.ForgetClean();
    Changed(Change::Mark);
}

bool RoutineEditor::RestoreRoutine(const std::string &image)
{
    TMoveList moves = DecodeRoutine(image);
    const EditSelection before = BeginChange();
    m_currentMove = nullptr;
    m_currentFrame = nullptr;
    auto command = std::make_unique<SwapRoutineCommand>("Restore Routine", m_moves, std::move(moves), before,
                                                        EditSelection{});
    command->Redo();
    SelectMove(0);
    command->SetSelectionAfter(Selection());
    Record(std::move(command));
    Changed(Change::Routine);
    return !m_moves.empty();
}

EditSelection RoutineEditor::BeginChange()
{
    // A press under way ends with any change: its drag, if it moved, is
    // the change before this one, and the mouse poses nothing more until
    // the release.
    if (m_pressedFrame) {
        if (m_dragging)
            RecordDrag();
        m_pressedFrame.reset();
        m_dragging = false;
        m_dragBlocked = true;
    }
    return Selection();
}

void RoutineEditor::RecordPose(std::string label, Change what, int part, const FrameState &before, int run,
                               bool continues)
{
    FrameState after = FrameState::Of(*m_currentFrame, before.HasHistories);
    if (after.SamePose(before)) {
        // Only the key frame's own history may have changed.
        FrameChanged(Change::History);
        return;
    }
    continues = continues && run != 0 && run == m_run && m_runEdits == m_edits;
    Record(std::make_unique<PoseCommand>(std::move(label), what, m_moves, Selection(part), before, std::move(after),
                                         run, continues));
    FrameChanged(what);
    m_run = run;
    m_runEdits = m_edits;
}

void RoutineEditor::RecordDrag()
{
    THFFrame &frame = *m_moves[m_pressedAt.MoveIndex]->Frames[m_pressedAt.FrameNumber - 1];
    FrameState after = FrameState::Of(frame, true);
    if (after.SamePose(*m_pressedFrame))
        return;
    EditSelection where = m_pressedAt;
    where.BodyPart = m_dragPart;
    Record(std::make_unique<PoseCommand>("Drag " + BodyPartName(m_dragPart), Change::Coordinates, m_moves, where,
                                         std::move(*m_pressedFrame), std::move(after)));
    m_pressedFrame.reset();
}

std::optional<EditSelection> RoutineEditor::UndoChange()
{
    return WalkHistory(true);
}

std::optional<EditSelection> RoutineEditor::RedoChange()
{
    return WalkHistory(false);
}

std::optional<EditSelection> RoutineEditor::WalkHistory(bool back)
{
    BeginChange();
    if (back ? !m_history.CanUndo() : !m_history.CanRedo())
        return std::nullopt;
    // The command may take the current move or key frame away.
    m_currentMove = nullptr;
    m_currentFrame = nullptr;
    const EditCommand &command = back ? *m_history.Undo() : *m_history.Redo();
    const EditSelection where = back ? command.SelectionBefore() : command.SelectionAfter();
    SelectMove(where.MoveIndex);
    SelectFrame(where.FrameNumber);
    // Every entry is one of the editor's own commands.
    Changed(static_cast<const RoutineCommand &>(command).Kind(), where.MoveIndex, where.FrameNumber);
    return where;
}

} // namespace hoofer
