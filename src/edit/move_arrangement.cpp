// Arranging the moves of a routine: Duplicate Move, Move Up and Move Down,
// and moves brought in from another routine file. The file holds 256 moves
// at most, so none of these lets the routine grow past that.
#include "routine_editor.h"

#include "model/routine_codec.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace hoofer {

std::string NameForCopy(const std::string &name, const TMoveList &moves)
{
    std::vector<std::string> names;
    for (const auto &move : moves)
        names.push_back(TrimName(move->MoveName));
    return NameForCopy(name, names);
}

std::string NameForCopy(const std::string &name, const std::vector<std::string> &names)
{
    // "squat" gives "squat 2"; a copy of "squat 2" gives "squat 3", not
    // "squat 2 2".
    std::string base = TrimName(name);
    if (const size_t blank = base.find_last_of(' '); blank != std::string::npos && blank + 1 < base.size()
        && base.find_first_not_of("0123456789", blank + 1) == std::string::npos)
        base = TrimName(base.substr(0, blank));
    const auto taken = [&](const std::string &candidate) {
        return std::find(names.begin(), names.end(), candidate) != names.end();
    };
    for (int n = 2;; ++n) {
        std::string number(1, ' ');
        number += std::to_string(n);
        const std::string candidate = base.substr(0, kMoveNameLength - number.size()) + number;
        // A routine holds 256 moves, so a free number comes soon.
        if (!taken(candidate))
            return candidate;
    }
}

int RoutineEditor::MoveRoom() const
{
    return std::max(0, kMaxMoves - static_cast<int>(m_moves.size()));
}

void RoutineEditor::RequireMoveRoom(size_t count, const char *how) const
{
    if (static_cast<int>(count) > MoveRoom())
        throw std::runtime_error("The routine has room for " + std::to_string(MoveRoom())
                                 + " more moves (a routine holds 256 at most); " + std::to_string(count) + " " + how
                                 + ".");
}

int RoutineEditor::DuplicateMove()
{
    if (!CanDuplicateMove())
        return -1;
    const int at = CurrentMoveIndex() + 1;
    TMoveList copy;
    copy.push_back(CopyMovePoses(*m_currentMove));
    copy.back()->MoveName = NameForCopy(m_currentMove->MoveName, m_moves);
    Push(std::make_unique<InsertMovesCommand>("Duplicate Move", m_moves, RoutineMoves{}, at, std::move(copy), Selection(),
                                              EditSelection{at, 1, 0}));
    return at;
}

bool RoutineEditor::CanShiftMove(int by) const
{
    const int to = CurrentMoveIndex() + by;
    return m_currentMove && (by == -1 || by == 1) && to >= 0 && to < static_cast<int>(m_moves.size());
}

int RoutineEditor::ShiftMove(int by)
{
    if (!CanShiftMove(by))
        return -1;
    const int from = CurrentMoveIndex();
    const int to = from + by;
    // The current move and key frame stay current in their new place.
    Push(std::make_unique<ReorderMovesCommand>(by < 0 ? "Move Up" : "Move Down", m_moves, from, to, Selection(),
                                               EditSelection{to, CurrentFrameNumber(), 0}));
    return to;
}

int RoutineEditor::AppendMoves(TMoveList incoming)
{
    if (incoming.empty())
        return -1;
    RequireMoveRoom(incoming.size(), "were chosen");
    const int first = static_cast<int>(m_moves.size());
    Push(std::make_unique<InsertMovesCommand>("Import Moves", m_moves, RoutineMoves{}, first, std::move(incoming), Selection(),
                                              EditSelection{first, 1, 0}));
    return first;
}

} // namespace hoofer
