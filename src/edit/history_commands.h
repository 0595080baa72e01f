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
    RoutineChange::Kind Kind() const { return kind_; }

private:
    RoutineChange::Kind kind_;
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
    int Id() const override { return id_; }
    bool MergeWith(const EditCommand &next) override;

private:
    THFFrame &Frame() const;

    TMoveList &moves_;
    FrameState before_, after_;
    int id_;
    bool continues_;
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
    std::size_t Cost() const override { return cost_; }

private:
    void TurnOver();

    TMoveList &moves_;
    int move_;
    int at_;
    int count_;
    std::vector<std::unique_ptr<THFMove>> heldMoves_;
    std::vector<std::unique_ptr<THFFrame>> heldFrames_;
    std::size_t cost_ = 0;
};

/// One move, or one key frame of a move, taken from one place to another,
/// those between shifting by one.
class ReorderCommand : public RoutineCommand {
public:
    /// move -1: moves of the routine; otherwise key frames of that move.
    ReorderCommand(std::string label, TMoveList &moves, int move, int from, int to, EditSelection before,
                   EditSelection after);

    void Redo() override { Shift(from_, to_); }
    void Undo() override { Shift(to_, from_); }
    std::size_t Cost() const override { return sizeof(*this); }

private:
    void Shift(int from, int to);

    TMoveList &moves_;
    int move_, from_, to_;
};

/// A move's name, as it was and as it became.
class RenameCommand : public RoutineCommand {
public:
    RenameCommand(TMoveList &moves, int move, std::string before, std::string after, EditSelection where);

    void Redo() override;
    void Undo() override;
    std::size_t Cost() const override;

private:
    TMoveList &moves_;
    int move_;
    std::string before_, after_;
};

/// The whole routine replaced by one restored from elsewhere: the command
/// holds the routine that is not shown, and Undo and Redo trade the two.
class SwapRoutineCommand : public RoutineCommand {
public:
    SwapRoutineCommand(std::string label, TMoveList &moves, TMoveList other, EditSelection before,
                       EditSelection after);
    ~SwapRoutineCommand() override;

    void Redo() override { moves_.swap(other_); }
    void Undo() override { moves_.swap(other_); }
    std::size_t Cost() const override { return cost_; }

private:
    TMoveList &moves_;
    TMoveList other_;
    std::size_t cost_;
};

/// The bytes a move keeps alive: its key frames with their histories.
std::size_t MoveCost(const THFMove &move);

} // namespace hoofer
