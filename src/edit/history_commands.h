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
/// with the same label and the newer one continues the older one's run.
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

/// Key frames (of one move) or moves that came into the routine or left it
/// as one run of neighbours: while they are out of it, the command holds
/// them whole, with their own histories. Undo and Redo both turn them over:
/// those in the routine leave it, those held come back.
class RunCommand : public RoutineCommand {
public:
    /// Moves [at, at + count) of the routine (move -1), or key frames
    /// [at, at + count) of move `move`, all in the routine when it is made.
    RunCommand(std::string label, TMoveList &moves, int move, int at, int count, EditSelection before,
               EditSelection after);

    void Redo() override { TurnOver(); }
    void Undo() override { TurnOver(); }
    std::size_t Cost() const override { return m_cost; }

private:
    void TurnOver();

    TMoveList &m_moves;
    int m_move;
    int m_at;
    int m_count;
    std::vector<std::unique_ptr<THFMove>> m_heldMoves;
    std::vector<std::unique_ptr<THFFrame>> m_heldFrames;
    std::size_t m_cost = 0;
};

/// One move, or one key frame of a move, taken from one place to another,
/// those between shifting by one.
class ReorderCommand : public RoutineCommand {
public:
    /// move -1: moves of the routine; otherwise key frames of that move.
    ReorderCommand(std::string label, TMoveList &moves, int move, int from, int to, EditSelection before,
                   EditSelection after);

    void Redo() override { Shift(m_from, m_to); }
    void Undo() override { Shift(m_to, m_from); }
    std::size_t Cost() const override { return sizeof(*this); }

private:
    void Shift(int from, int to);

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
