#include "cli_files.h"

#include "routine_report.h"
#include "terminal_text.h"
#include "model/routine_codec.h"
#include "model/save_file.h"

#include <iostream>
#include <iterator>

namespace hoofer {

void ReportError(const std::string &file, const std::string &message)
{
    std::cerr << TerminalText(file) << ": error: " << TerminalText(message) << '\n';
}

void ReportWarning(const std::string &file, const std::string &message)
{
    std::cerr << TerminalText(file) << ": warning: " << TerminalText(message) << '\n';
}

bool ReadInput(const std::string &path, std::string &data)
{
    if (path == kStandardStream) {
        data.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        if (!std::cin.bad())
            return true;
        ReportError(path, "cannot read standard input");
        return false;
    }
    std::string why;
    if (ReadWholeFile(path, data, why))
        return true;
    ReportError(path, "cannot read: " + why);
    return false;
}

bool ReadRoutineFile(const std::string &path, std::string &data, TMoveList &moves)
{
    if (!ReadInput(path, data))
        return false;
    for (const Diagnostic &d : CheckRoutineImage(data))
        if (d.IsError()) {
            ReportError(path, d.message);
            return false;
        }
    try {
        moves = DecodeRoutine(data);
    } catch (const RoutineFormatError &e) {
        ReportError(path, e.what());
        return false;
    }
    return true;
}

bool WriteOutput(const std::string &path, const std::string &data)
{
    if (path == kStandardStream) {
        std::cout.write(data.data(), static_cast<std::streamsize>(data.size()));
        std::cout.flush();
        if (std::cout)
            return true;
        ReportError(path, "cannot write standard output");
        return false;
    }
    if (const std::string why = SaveFileAtomically(path, data); !why.empty()) {
        ReportError(path, "cannot write: " + why);
        return false;
    }
    return true;
}

} // namespace hoofer
