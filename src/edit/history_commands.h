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

/// Items (moves of the routine, or key frames of one move) that leave a list
/// or come into it as one run of neighbours: while they are out of it, the
/// command holds them whole, with their own histories.
template <typename T>
class HeldRun {
public:
    using List = std::vector<std::unique_ptr<T>>;
    HeldRun() = default;
    HeldRun(const HeldRun &) = delete;
    HeldRun &operator=(const HeldRun &) = delete;
    ~HeldRun() { FreeListItems(m_held); }
    /// Takes [at, at + count) out of the list and holds them.
    void Take(List &list, int at, int count);
    /// Puts what is held back in at `at`.
    void Put(List &list, int at);

private:
    List m_held;
};

/// Moves that come into the routine as one run at `at`: added, duplicated,
/// imported.
class InsertMovesCommand : public RoutineCommand {
public:
    InsertMovesCommand(std::string label, TMoveList &moves, int at, TMoveList incoming, EditSelection before,
                       EditSelection after);
    void Redo() override { m_run.Put(m_moves, m_at); }
    void Undo() override { m_run.Take(m_moves, m_at, m_count); }
    std::size_t Cost() const override { return m_cost; }

private:
    TMoveList &m_moves;
    int m_at, m_count;
    HeldRun<THFMove> m_run;
    std::size_t m_cost;
};

/// Moves [at, at + count) of the routine taken out of it.
class RemoveMovesCommand : public RoutineCommand {
public:
    RemoveMovesCommand(std::string label, TMoveList &moves, int at, int count, EditSelection before,
                       EditSelection after);
    void Redo() override { m_run.Take(m_moves, m_at, m_count); }
    void Undo() override { m_run.Put(m_moves, m_at); }
    std::size_t Cost() const override { return m_cost; }

private:
    TMoveList &m_moves;
    int m_at, m_count;
    HeldRun<THFMove> m_run;
    std::size_t m_cost;
};

/// Key frames that come into move `move` as one run at `at`: added, inserted.
class InsertFramesCommand : public RoutineCommand {
public:
    InsertFramesCommand(std::string label, TMoveList &moves, int move, int at,
                        std::vector<std::unique_ptr<THFFrame>> incoming, EditSelection before, EditSelection after);
    void Redo() override;
    void Undo() override;
    std::size_t Cost() const override { return m_cost; }

private:
    TMoveList &m_moves;
    int m_move, m_at, m_count;
    HeldRun<THFFrame> m_run;
    std::size_t m_cost;
};

/// Key frames [at, at + count) of move `move` taken out of it.
class RemoveFramesCommand : public RoutineCommand {
public:
    RemoveFramesCommand(std::string label, TMoveList &moves, int move, int at, int count, EditSelection before,
                        EditSelection after);
    void Redo() override;
    void Undo() override;
    std::size_t Cost() const override { return m_cost; }

private:
    TMoveList &m_moves;
    int m_move, m_at, m_count;
    HeldRun<THFFrame> m_run;
    std::size_t m_cost;
};

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

/// The bytes a move keeps alive: its key frames with their histories.
std::size_t MoveCost(const THFMove &move);

} // namespace hoofer
