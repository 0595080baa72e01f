// The commands the routine's history keeps, one kind for each family of
// changes: a key frame's pose, a run of key frames or moves coming or going,
// a reorder, a rename, the whole routine traded for another.
#include "history_commands.h"

#include "model/text_trim.h"

#include <algorithm>
#include <utility>

namespace hoofer {

namespace {

/// What one kept snapshot costs: the string and its heap block.
constexpr std::size_t kSnapshotCost = sizeof(std::string) + 32;

std::size_t FrameCost(const THFFrame &frame)
{
    return sizeof(THFFrame) + (frame.UndoList.size() + frame.RedoList.size()) * kSnapshotCost;
}

/// Moves `from` to place `to` in a list, those between shifting by one.
template<typename T>
void Rotate(std::vector<std::unique_ptr<T>> &list, int from, int to)
{
    const auto first = list.begin() + from;
    const auto last = list.begin() + to;
    if (from < to)
        std::rotate(first, first + 1, last + 1);
    else
        std::rotate(last, first, first + 1);
}

} // namespace

std::string BodyPartName(int part)
{
    return part >= 1 && part <= kPartCount ? std::string(Trim(kBodyPartTexts[part - 1])) : "Figure";
}

FrameState FrameState::Of(const THFFrame &frame, bool withHistories)
{
    FrameState state;
    state.Points = frame.Points;
    state.Interpolation = frame.Interpolation;
    state.Displacement = frame.Displacement;
    state.HasHistories = withHistories;
    if (withHistories) {
        state.UndoList = frame.UndoList.Entries();
        state.RedoList = frame.RedoList.Entries();
    }
    return state;
}

void FrameState::Into(THFFrame &frame) const
{
    frame.Points = Points;
    frame.Interpolation = Interpolation;
    frame.Displacement = Displacement;
    if (HasHistories) {
        frame.UndoList.Assign(UndoList);
        frame.RedoList.Assign(RedoList);
    }
}

bool FrameState::SamePose(const FrameState &other) const
{
    return Points == other.Points && Interpolation == other.Interpolation && Displacement == other.Displacement;
}

std::size_t FrameState::Cost() const
{
    return sizeof(FrameState) + (UndoList.size() + RedoList.size()) * kSnapshotCost;
}

std::size_t MoveCost(const THFMove &move)
{
    std::size_t cost = sizeof(THFMove) + move.MoveName.capacity();
    for (const auto &frame : move.Frames)
        cost += FrameCost(*frame);
    return cost;
}

RoutineCommand::RoutineCommand(std::string label, RoutineChange::Kind kind, EditSelection before,
                               EditSelection after)
    : EditCommand(std::move(label), before, after), m_kind(kind)
{
}

PoseCommand::PoseCommand(std::string label, RoutineChange::Kind kind, TMoveList &moves, EditSelection where,
                         FrameState before, FrameState after, int id, bool continues)
    : RoutineCommand(std::move(label), kind, where, where), m_moves(moves), m_before(std::move(before)),
      m_after(std::move(after)), m_id(id), m_continues(continues)
{
}

THFFrame &PoseCommand::Frame() const
{
    const EditSelection &where = SelectionBefore();
    return *m_moves[where.MoveIndex]->Frames[where.FrameNumber - 1];
}

void PoseCommand::Redo()
{
    m_after.Into(Frame());
}

void PoseCommand::Undo()
{
    m_before.Into(Frame());
}

std::size_t PoseCommand::Cost() const
{
    return sizeof(*this) + Label().capacity() + m_before.Cost() + m_after.Cost();
}

bool PoseCommand::MergeWith(const EditCommand &next)
{
    const auto *pose = dynamic_cast<const PoseCommand *>(&next);
    if (!pose || !pose->m_continues || pose->Label() != Label() || !(pose->SelectionBefore() == SelectionBefore()))
        return false;
    m_after = pose->m_after;
    return true;
}

std::size_t MoveFrames::Cost(const THFFrame &frame)
{
    return FrameCost(frame);
}

ReorderMovesCommand::ReorderMovesCommand(std::string label, TMoveList &moves, int from, int to,
                                         EditSelection before, EditSelection after)
    : RoutineCommand(std::move(label), RoutineChange::Kind::Moves, before, after), m_moves(moves), m_from(from),
      m_to(to)
{
}

void ReorderMovesCommand::Redo()
{
    Rotate(m_moves, m_from, m_to);
}

void ReorderMovesCommand::Undo()
{
    Rotate(m_moves, m_to, m_from);
}

ReorderFramesCommand::ReorderFramesCommand(TMoveList &moves, int move, int from, int to, EditSelection before,
                                           EditSelection after)
    : RoutineCommand("Move Key Frame", RoutineChange::Kind::KeyFrames, before, after), m_moves(moves), m_move(move),
      m_from(from), m_to(to)
{
}

void ReorderFramesCommand::Redo()
{
    Rotate(m_moves[m_move]->Frames, m_from, m_to);
}

void ReorderFramesCommand::Undo()
{
    Rotate(m_moves[m_move]->Frames, m_to, m_from);
}

RenameCommand::RenameCommand(TMoveList &moves, int move, std::string before, std::string after,
                             EditSelection where)
    : RoutineCommand("Rename Move", RoutineChange::Kind::MoveName, where, where), m_moves(moves), m_move(move),
      m_before(std::move(before)), m_after(std::move(after))
{
}

void RenameCommand::Redo()
{
    m_moves[m_move]->MoveName = m_after;
}

void RenameCommand::Undo()
{
    m_moves[m_move]->MoveName = m_before;
}

std::size_t RenameCommand::Cost() const
{
    return sizeof(*this) + m_before.capacity() + m_after.capacity();
}

ReferenceCommand::ReferenceCommand(std::string label, TMoveList &moves, EditSelection where,
                                   std::optional<MoveReference> before, std::optional<MoveReference> after,
                                   bool continues)
    : RoutineCommand(std::move(label), RoutineChange::Kind::Reference, where, where), m_moves(moves),
      m_before(std::move(before)), m_after(std::move(after)), m_continues(continues)
{
}

std::size_t ReferenceCommand::Cost() const
{
    const auto bytes = [](const std::optional<MoveReference> &r) { return r ? r->file.capacity() : 0; };
    return sizeof(*this) + Label().capacity() + bytes(m_before) + bytes(m_after);
}

bool ReferenceCommand::MergeWith(const EditCommand &next)
{
    const auto *reference = dynamic_cast<const ReferenceCommand *>(&next);
    if (!reference || !reference->m_continues || reference->Label() != Label()
        || reference->SelectionBefore().MoveIndex != SelectionBefore().MoveIndex)
        return false;
    m_after = reference->m_after;
    return true;
}

SwapRoutineCommand::SwapRoutineCommand(std::string label, TMoveList &moves, TMoveList other, EditSelection before,
                                       EditSelection after)
    : RoutineCommand(std::move(label), RoutineChange::Kind::Routine, before, after), m_moves(moves),
      m_other(std::move(other)), m_cost(sizeof(*this))
{
    for (const auto &move : m_other)
        m_cost += MoveCost(*move);
    for (const auto &move : m_moves)
        m_cost += MoveCost(*move);
}

SwapRoutineCommand::~SwapRoutineCommand()
{
    FreeListItems(m_other);
}

} // namespace hoofer
