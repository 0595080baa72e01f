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
    const EditSelection before = BeginChange();
    auto copy = CopyMovePoses(*m_currentMove);
    const int at = CurrentMoveIndex() + 1;
    m_moves.insert(m_moves.begin() + at, std::move(copy));
    SelectMove(at);
    Record(std::make_unique<RunCommand>("Duplicate Move", m_moves, -1, at, 1, before, Selection()));
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
    const EditSelection before = BeginChange();
    std::swap(m_moves[from], m_moves[to]);
    Record(std::make_unique<ReorderCommand>(by < 0 ? "Move Up" : "Move Down", m_moves, -1, from, to, before,
                                            Selection()));
    Changed(Change::Moves, to);
    return to;
}

int RoutineEditor::AppendMoves(TMoveList incoming)
{
    if (incoming.empty() || static_cast<int>(incoming.size()) > MoveRoom())
        return -1;
    const EditSelection before = BeginChange();
    const int first = static_cast<int>(m_moves.size());
    const int count = static_cast<int>(incoming.size());
    for (auto &move : incoming)
        m_moves.push_back(std::move(move));
    SelectMove(first);
    Record(std::make_unique<RunCommand>("Import Moves", m_moves, -1, first, count, before, Selection()));
    Changed(Change::Moves, first);
    return first;
}

} // namespace hoofer
