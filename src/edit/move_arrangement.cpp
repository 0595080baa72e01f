// Arranging the moves of a routine: Duplicate Move, Move Up and Move Down,
// and moves brought in from another routine file. The file holds 256 moves
// at most, so none of these lets the routine grow past that.
#include "routine_editor.h"

#include "model/routine_codec.h"

#include <algorithm>
#include <utility>

namespace hoofer {

int RoutineEditor::MoveRoom() const
{
    return std::max(0, kMaxMoves - static_cast<int>(m_moves.size()));
}

int RoutineEditor::DuplicateMove()
{
    if (!m_currentMove || MoveRoom() == 0)
        return -1;
    auto copy = CopyMovePoses(*m_currentMove);
    const int at = CurrentMoveIndex() + 1;
    m_moves.insert(m_moves.begin() + at, std::move(copy));
    SelectMove(at);
    Changed(Change::Moves, at);
    return at;
}

int RoutineEditor::ShiftMove(int by)
{
    if (!m_currentMove || (by != -1 && by != 1))
        return -1;
    const int from = CurrentMoveIndex();
    const int to = from + by;
    if (to < 0 || to >= static_cast<int>(m_moves.size()))
        return -1;
    // The current move and key frame stay current in their new place.
    std::swap(m_moves[from], m_moves[to]);
    Changed(Change::Moves, to);
    return to;
}

int RoutineEditor::AppendMoves(TMoveList incoming)
{
    if (incoming.empty() || static_cast<int>(incoming.size()) > MoveRoom())
        return -1;
    const int first = static_cast<int>(m_moves.size());
    for (auto &move : incoming)
        m_moves.push_back(std::move(move));
    SelectMove(first);
    Changed(Change::Moves, first);
    return first;
}

} // namespace hoofer
