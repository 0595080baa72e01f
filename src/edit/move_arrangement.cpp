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
    return std::max(0, kMaxMoves - static_cast<int>(Moves.size()));
}

int RoutineEditor::DuplicateMove()
{
    if (!CurrentMove || MoveRoom() == 0)
        return -1;
    auto copy = CopyMovePoses(*CurrentMove);
    const int at = CurrentMoveIndex() + 1;
    Moves.insert(Moves.begin() + at, std::move(copy));
    Changed(Change::Moves);
    return at;
}

int RoutineEditor::ShiftMove(int by)
{
    if (!CurrentMove || (by != -1 && by != 1))
        return -1;
    const int from = CurrentMoveIndex();
    const int to = from + by;
    if (to < 0 || to >= static_cast<int>(Moves.size()))
        return -1;
    std::swap(Moves[from], Moves[to]);
    Changed(Change::Moves);
    return to;
}

int RoutineEditor::AppendMoves(TMoveList incoming)
{
    if (incoming.empty() || static_cast<int>(incoming.size()) > MoveRoom())
        return -1;
    const int first = static_cast<int>(Moves.size());
    for (auto &move : incoming)
        Moves.push_back(std::move(move));
    Changed(Change::Moves);
    return first;
}

} // namespace hoofer
