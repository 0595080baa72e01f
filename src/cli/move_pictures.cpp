#include "move_pictures.h"

#include "model/latin1.h"

#include <QString>

namespace hoofer {

namespace {

std::optional<size_t> ParseIndex(const std::string &text)
{
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    size_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<size_t>(c - '0');
    }
    return value;
}

std::string IndexList(const std::vector<size_t> &indexes)
{
    std::string out;
    for (size_t i = 0; i < indexes.size(); ++i)
        out += (i ? ", " : "") + std::to_string(indexes[i]);
    return out;
}

} // namespace

std::optional<size_t> FindMove(const TMoveList &moves, const std::string &which, std::string &why)
{
    if (const auto index = ParseIndex(which)) {
        if (*index < moves.size())
            return index;
        why = "there is no move " + which + "; the routine has moves 0.." + std::to_string(moves.size() - 1);
        return std::nullopt;
    }
    std::vector<size_t> exact;
    std::vector<size_t> folded;
    // The command line is UTF-8; the names are bytes read as Latin-1.
    const QString wanted = QString::fromStdString(which);
    for (size_t i = 0; i < moves.size(); ++i) {
        const std::string name = Latin1ToUtf8(TrimName(moves[i]->MoveName));
        if (name == which)
            exact.push_back(i);
        else if (QString::fromStdString(name).compare(wanted, Qt::CaseInsensitive) == 0)
            folded.push_back(i);
    }
    const std::vector<size_t> &found = exact.empty() ? folded : exact;
    if (found.size() == 1)
        return found.front();
    if (found.empty())
        why = "no move is named \"" + which + "\"";
    else
        why = "several moves are named \"" + which + "\" (" + IndexList(found) + "); give the index instead";
    return std::nullopt;
}

} // namespace hoofer
