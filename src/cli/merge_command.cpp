#include "merge_command.h"

#include "cli_files.h"
#include "move_pictures.h"
#include "model/routine_codec.h"

#include <memory>

namespace hoofer {

namespace {

bool IsIndexList(const std::string &text)
{
    if (text.empty() || text.front() == ',' || text.back() == ',' || text.find(",,") != std::string::npos)
        return false;
    return text.find_first_not_of("0123456789,") == std::string::npos;
}

/// The moves the source names, appended to merged; reports and gives false
/// when the file cannot be read or has no such move.
bool TakeMoves(const MergeSource &source, TMoveList &merged)
{
    std::string data;
    TMoveList moves;
    if (!ReadRoutineFile(source.file, data, moves))
        return false;
    if (source.indexes.empty()) {
        for (auto &move : moves)
            merged.push_back(std::move(move));
        return true;
    }
    for (const size_t index : source.indexes) {
        std::string why;
        if (!FindMove(moves, std::to_string(index), why)) {
            ReportError(source.file, why);
            return false;
        }
        merged.push_back(CopyMovePoses(*moves[index]));
    }
    return true;
}

int RunMerge(const std::vector<std::string> &arguments, const std::string &output)
{
    TMoveList merged;
    for (const std::string &argument : arguments)
        if (!TakeMoves(ParseMergeSource(argument), merged))
            return 1;
    if (merged.size() > static_cast<size_t>(kMaxMoves)) {
        ReportError(output, "the merged routine would have " + std::to_string(merged.size())
                                + " moves; a routine holds 256 at most");
        return 1;
    }
    return WriteOutput(output, EncodeRoutine(merged)) ? 0 : 1;
}

} // namespace

MergeSource ParseMergeSource(const std::string &argument)
{
    const size_t colon = argument.rfind(':');
    if (colon == std::string::npos || colon == 0 || !IsIndexList(argument.substr(colon + 1)))
        return {argument, {}};
    MergeSource source{argument.substr(0, colon), {}};
    size_t value = 0;
    bool overflow = false;
    for (const char c : argument.substr(colon + 1) + ",") {
        if (c == ',') {
            // An index past any routine still reads as one, and is refused as such.
            source.indexes.push_back(overflow ? static_cast<size_t>(kMaxMoves) : value);
            value = 0;
            overflow = false;
        } else {
            value = value * 10 + static_cast<size_t>(c - '0');
            overflow = overflow || value > static_cast<size_t>(kMaxMoves);
        }
    }
    return source;
}

void AddMergeCommand(CLI::App &app, CommandSet &commands)
{
    auto sources = std::make_shared<std::vector<std::string>>();
    auto output = std::make_shared<std::string>();
    CLI::App *merge = app.add_subcommand("merge", "Put moves of several routines into one routine file");
    merge->footer("Every move of each FILE, in order; FILE:2,5 takes moves 2 and 5 of that file (indexes\n"
                  "as info lists them, in the order given). The result holds 256 moves at most; nothing\n"
                  "is written when a file cannot be read or has no such move.");
    merge->add_option("FILE", *sources, "Routine files (.raw), each optionally :N,N,...; - reads standard input")
        ->required()
        ->type_name("");
    merge->add_option("-o,--output", *output, "Routine file to write (replaced atomically; - for standard output)")
        ->required()
        ->type_name("OUT.raw");
    commands.Add(merge, [sources, output] { return RunMerge(*sources, *output); });
}

} // namespace hoofer
