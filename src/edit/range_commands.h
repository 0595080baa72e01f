#pragma once

#include "edit/history_commands.h"

#include <vector>

namespace hoofer {

/// The poses of a range of key frames of one move changed together: each
/// mirrored, or an interpolation or displacement typed for all of them. The
/// range is the one selected before the change (RangeFirst..RangeLast), and
/// the command keeps every key frame as it was and as it became. Changes of
/// one nonzero id on the same range, with the same label, merge: typing
/// "12" into a box is one entry.
class RangePoseCommand : public RoutineCommand {
public:
    RangePoseCommand(std::string label, RoutineChange::Kind kind, TMoveList &moves, EditSelection where,
                     std::vector<FrameState> before, std::vector<FrameState> after, int id = 0);

    void Redo() override { Put(m_after); }
    void Undo() override { Put(m_before); }
    std::size_t Cost() const override;
    int Id() const override { return m_id; }
    bool MergeWith(const EditCommand &next) override;
    int FrameConcerned(const EditSelection &) const override { return 0; }

private:
    void Put(const std::vector<FrameState> &states);

    TMoveList &m_moves;
    std::vector<FrameState> m_before, m_after;
    int m_id;
};

/// Key frames first..last (1-based) of one move in the opposite order. The
/// key frames themselves move, each with its own histories, so doing it
/// again takes it back.
class ReverseFramesCommand : public RoutineCommand {
public:
    ReverseFramesCommand(TMoveList &moves, int move, int first, int last, EditSelection before,
                         EditSelection after);

    void Redo() override { Reverse(); }
    void Undo() override { Reverse(); }
    std::size_t Cost() const override { return sizeof(*this); }

private:
    void Reverse();

    TMoveList &m_moves;
    int m_move, m_first, m_last;
};

} // namespace hoofer
