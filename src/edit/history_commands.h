#pragma once

#include "edit/edit_command.h"
#include "edit/routine_change.h"
#include "model/move.h"

#include <memory>
#include <string>
#include <vector>

namespace hoofer {

/// The trimmed name of body part 1..12, as the body-part selector shows it.
std::string BodyPartName(int part);

/// One key frame as a pose command keeps it: the pose and, when the command
/// changed them, the frame's own undo and redo histories.
struct FrameState {
    std::array<TPoint, kPartCount> Points{};
    int32_t Interpolation = 0;
    int32_t Displacement = 0;
    bool HasHistories = false;
    std::vector<std::string> UndoList;
    std::vector<std::string> RedoList;

    static FrameState Of(const THFFrame &frame, bool withHistories);
    void Into(THFFrame &frame) const;
    bool SamePose(const FrameState &other) const;
    std::size_t Cost() const;
};

/// The ids of the pose commands that merge: a run of one of these on one key
/// frame, with nothing else between, is one entry of the routine's history.
enum PoseCommandId {
    kTypedPoint = 1,
    kTypedInterpolation,
    kTypedDisplacement,
    kNudge,
    kDrag,
};

/// A change of the routine as its history keeps it: besides what it undoes
/// and redoes, what kind of change the editor reports after either.
class RoutineCommand : public EditCommand {
public:
    RoutineCommand(std::string label, RoutineChange::Kind kind, EditSelection before, EditSelection after);
    RoutineChange::Kind Kind() const { return m_kind; }
    /// The key frame the change concerns, as reported: the one of `where`,
    /// or 0 for several.
    virtual int FrameConcerned(const EditSelection &where) const { return where.FrameNumber; }

private:
    RoutineChange::Kind m_kind;
};

/// The pose of one key frame changed (typed, dragged, nudged, pasted,
/// mirrored, Frame > Undo or Redo): the frame as it was and as it became.
/// Commands of one nonzero id merge when they touch the same key frame
/// with the same label and the newer one continues the older one's run
/// (every step of a drag after the first, a nudge of a run); typed numbers
/// always continue. The history offers only its newest, still open entry.
class PoseCommand : public RoutineCommand {
public:
    PoseCommand(std::string label, RoutineChange::Kind kind, TMoveList &moves, EditSelection where,
                FrameState before, FrameState after, int id = 0, bool continues = true);

    void Redo() override;
    void Undo() override;
    std::size_t Cost() const override;
    int Id() const override { return m_id; }
    bool MergeWith(const EditCommand &next) override;

private:
    THFFrame &Frame() const;

    TMoveList &m_moves;
    FrameState m_before, m_after;
    int m_id;
    bool m_continues;
};

/// The bytes a move keeps alive: its key frames with their histories.
std::size_t MoveCost(const THFMove &move);

/// Where a run of items lives: the routine's moves, or the key frames of the
/// move of index `move`.
struct RoutineMoves {
    using Item = THFMove;
    static constexpr RoutineChange::Kind kKind = RoutineChange::Kind::Moves;
    TMoveList &List(TMoveList &moves) const { return moves; }
    void Counted(TMoveList &) const {}
    static std::size_t Cost(const THFMove &move) { return MoveCost(move); }
};

struct MoveFrames {
    using Item = THFFrame;
    static constexpr RoutineChange::Kind kKind = RoutineChange::Kind::KeyFrames;
    int move;
    std::vector<std::unique_ptr<THFFrame>> &List(TMoveList &moves) const { return moves[move]->Frames; }
    void Counted(TMoveList &moves) const { moves[move]->SyncFrameCount(); }
    static std::size_t Cost(const THFFrame &frame);
};

/// Items (moves, or key frames of one move) that come into their list or
/// leave it as one run of neighbours at `at`: while they are out of it, the
/// command holds them whole, with their own histories. An inserting command
/// is made with the items it brings, a removing one with how many go.
template <typename Where, bool kInserting>
class RunCommand : public RoutineCommand {
public:
    using List = std::vector<std::unique_ptr<typename Where::Item>>;

    RunCommand(std::string label, TMoveList &moves, Where where, int at, List incoming, EditSelection before,
               EditSelection after)
        requires kInserting
        : RoutineCommand(std::move(label), Where::kKind, before, after), m_moves(moves), m_where(where), m_at(at),
          m_count(static_cast<int>(incoming.size())), m_cost(sizeof(*this) + CostOf(incoming, 0, m_count))
    {
        m_held = std::move(incoming);  // until the first Redo puts them in
    }
    RunCommand(std::string label, TMoveList &moves, Where where, int at, int count, EditSelection before,
               EditSelection after)
        requires(!kInserting)
        : RoutineCommand(std::move(label), Where::kKind, before, after), m_moves(moves), m_where(where), m_at(at),
          m_count(count), m_cost(sizeof(*this) + CostOf(where.List(moves), at, count))
    {
    }
    ~RunCommand() override { FreeListItems(m_held); }

    void Redo() override { kInserting ? Put() : Take(); }
    void Undo() override { kInserting ? Take() : Put(); }
    std::size_t Cost() const override { return m_cost; }

private:
    static std::size_t CostOf(const List &list, int at, int count)
    {
        std::size_t cost = 0;
        for (int i = at; i < at + count; ++i)
            cost += Where::Cost(*list[i]);
        return cost;
    }
    void Take()
    {
        List &list = m_where.List(m_moves);
        const auto first = list.begin() + m_at;
        m_held.assign(std::make_move_iterator(first), std::make_move_iterator(first + m_count));
        list.erase(first, first + m_count);
        m_where.Counted(m_moves);
    }
    void Put()
    {
        List &list = m_where.List(m_moves);
        list.insert(list.begin() + m_at, std::make_move_iterator(m_held.begin()), std::make_move_iterator(m_held.end()));
        m_held.clear();
        m_where.Counted(m_moves);
    }

    TMoveList &m_moves;
    Where m_where;
    int m_at, m_count;
    List m_held;
    std::size_t m_cost;
};

/// Moves added, duplicated or imported, and moves deleted.
using InsertMovesCommand = RunCommand<RoutineMoves, true>;
using RemoveMovesCommand = RunCommand<RoutineMoves, false>;
/// Key frames added or inserted, and key frames deleted or cut.
using InsertFramesCommand = RunCommand<MoveFrames, true>;
using RemoveFramesCommand = RunCommand<MoveFrames, false>;

/// One item of a list taken from place `from` to place `to`, those between
/// shifting by one; the objects move, so each keeps its own histories.
/// Move Up and Move Down reorder the routine's moves, a key frame dragged in
/// the strip the key frames of its move.
class ReorderMovesCommand : public RoutineCommand {
public:
    ReorderMovesCommand(std::string label, TMoveList &moves, int from, int to, EditSelection before,
                        EditSelection after);
    void Redo() override;
    void Undo() override;
    std::size_t Cost() const override { return sizeof(*this); }

private:
    TMoveList &m_moves;
    int m_from, m_to;
};

class ReorderFramesCommand : public RoutineCommand {
public:
    ReorderFramesCommand(TMoveList &moves, int move, int from, int to, EditSelection before, EditSelection after);
    void Redo() override;
    void Undo() override;
    std::size_t Cost() const override { return sizeof(*this); }

private:
    TMoveList &m_moves;
    int m_move, m_from, m_to;
};

/// A move's name, as it was and as it became.
class RenameCommand : public RoutineCommand {
public:
    RenameCommand(TMoveList &moves, int move, std::string before, std::string after, EditSelection where);

    void Redo() override;
    void Undo() override;
    std::size_t Cost() const override;

private:
    TMoveList &m_moves;
    int m_move;
    std::string m_before, m_after;
};

/// A move's reference, as it was and as it became (none when there was or is
/// none). A run of changes with the same label, each continuing the one
/// before (the steps of a placement's drag), is one entry.
class ReferenceCommand : public RoutineCommand {
public:
    ReferenceCommand(std::string label, TMoveList &moves, EditSelection where, std::optional<MoveReference> before,
                     std::optional<MoveReference> after, bool continues);

    void Redo() override { m_moves[SelectionBefore().MoveIndex]->Reference = m_after; }
    void Undo() override { m_moves[SelectionBefore().MoveIndex]->Reference = m_before; }
    std::size_t Cost() const override;
    int Id() const override { return 1; }
    bool MergeWith(const EditCommand &next) override;

private:
    TMoveList &m_moves;
    std::optional<MoveReference> m_before, m_after;
    bool m_continues;
};

/// The whole routine replaced by one restored from elsewhere: the command
/// holds the routine that is not shown, and Undo and Redo trade the two.
class SwapRoutineCommand : public RoutineCommand {
public:
    SwapRoutineCommand(std::string label, TMoveList &moves, TMoveList other, EditSelection before,
                       EditSelection after);
    ~SwapRoutineCommand() override;

    void Redo() override { m_moves.swap(m_other); }
    void Undo() override { m_moves.swap(m_other); }
    std::size_t Cost() const override { return m_cost; }

private:
    TMoveList &m_moves;
    TMoveList m_other;
    std::size_t m_cost;
};


} // namespace hoofer
