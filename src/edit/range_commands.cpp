#include "range_commands.h"

#include <algorithm>

namespace hoofer {

RangePoseCommand::RangePoseCommand(std::string label, RoutineChange::Kind kind, TMoveList &moves,
                                   EditSelection where, std::vector<FrameState> before,
                                   std::vector<FrameState> after, int id)
    : RoutineCommand(std::move(label), kind, where, where), m_moves(moves), m_before(std::move(before)),
      m_after(std::move(after)), m_id(id)
{
}

void RangePoseCommand::Put(const std::vector<FrameState> &states)
{
    const EditSelection &where = SelectionBefore();
    auto &frames = m_moves[where.MoveIndex]->Frames;
    for (size_t i = 0; i < states.size(); ++i)
        states[i].Into(*frames[where.RangeFirst - 1 + i]);
}

std::size_t RangePoseCommand::Cost() const
{
    std::size_t cost = sizeof(*this) + Label().capacity();
    for (const auto *states : {&m_before, &m_after})
        for (const FrameState &state : *states)
            cost += state.Cost();
    return cost;
}

bool RangePoseCommand::MergeWith(const EditCommand &next)
{
    const auto *range = dynamic_cast<const RangePoseCommand *>(&next);
    if (!range || range->Label() != Label() || !(range->SelectionBefore() == SelectionBefore()))
        return false;
    m_after = range->m_after;
    return true;
}

ReverseFramesCommand::ReverseFramesCommand(TMoveList &moves, int move, int first, int last, EditSelection before,
                                           EditSelection after)
    : RoutineCommand("Reverse Key Frames", RoutineChange::Kind::KeyFrames, before, after), m_moves(moves),
      m_move(move), m_first(first), m_last(last)
{
}

void ReverseFramesCommand::Reverse()
{
    auto &frames = m_moves[m_move]->Frames;
    std::reverse(frames.begin() + m_first - 1, frames.begin() + m_last);
}

} // namespace hoofer
