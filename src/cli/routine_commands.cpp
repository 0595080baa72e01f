#include "routine_commands.h"

#include "cli_files.h"
#include "model/routine_json.h"
#include "routine_report.h"
#include "terminal_text.h"
#include "model/routine_codec.h"

#include <iostream>
#include <memory>

namespace hoofer {

namespace {

void Report(const std::string &file, const Diagnostic &d, const std::string &note = {})
{
    if (d.IsError())
        ReportError(file, d.message + note);
    else
        ReportWarning(file, d.message + note);
}

int RunInfo(const std::string &file)
{
    std::string data;
    TMoveList moves;
    if (!ReadRoutineFile(file, data, moves))
        return 1;
    const RoutineImageInfo info = InspectRoutineImage(data);
    std::cout << TerminalText(file) << ":\n" << DescribeRoutine(moves, data.size(), info.trailingBytes);
    return 0;
}

int RunCheck(const std::vector<std::string> &files, bool strict, bool quiet)
{
    int status = 0;
    for (const std::string &file : files) {
        std::string data;
        if (!ReadInput(file, data)) {
            status = 1;
            continue;
        }
        const std::vector<Diagnostic> findings = CheckRoutineImage(data);
        for (const Diagnostic &d : findings) {
            Report(file, d);
            if (d.IsError() || strict)
                status = 1;
        }
        if (findings.empty() && !quiet)
            std::cout << TerminalText(file) << ": ok\n";
    }
    return status;
}

int RunExport(const std::string &file, const std::string &output)
{
    std::string data;
    TMoveList moves;
    if (!ReadRoutineFile(file, data, moves))
        return 1;
    for (const Diagnostic &d : CheckRoutineImage(data))
        if (d.droppedOnSave)
            Report(file, d, " (not kept in the export)");
    return WriteOutput(output, RoutineToJson(moves)) ? 0 : 1;
}

int RunImport(const std::string &input, const std::string &output)
{
    std::string text;
    if (!ReadInput(input, text))
        return 1;
    std::string image;
    try {
        image = EncodeRoutine(RoutineFromJson(text));
    } catch (const RoutineJsonError &e) {
        ReportError(input, e.what());
        return 1;
    } catch (const RoutineFormatError &e) {
        ReportError(input, e.what());
        return 1;
    }
    return WriteOutput(output, image) ? 0 : 1;
}

} // namespace

void AddRoutineCommands(CLI::App &app, CommandSet &commands)
{
    {
        auto file = std::make_shared<std::string>();
        CLI::App *info = app.add_subcommand(
            "info", "List the moves of a routine with their key frames, pictures and playing time");
        info->footer("One line per move: its index (as render --move takes it), its name, its key frames,\n"
                     "the pictures of one pass and its playing time at normal speed as the editor's Play\n"
                     "Move shows it (70 ms a step, 70 ms more after each transition).\n"
                     "Then the file's size and the bytes after the last move, if any.");
        info->add_option("FILE", *file, "Routine file (.raw); - reads standard input")
            ->required()
            ->type_name("");
        commands.Add(info, [file] { return RunInfo(*file); });
    }
    {
        auto files = std::make_shared<std::vector<std::string>>();
        auto strict = std::make_shared<bool>(false);
        auto quiet = std::make_shared<bool>(false);
        CLI::App *check = app.add_subcommand(
            "check", "Check routine files; exit status 0 only when none has an error");
        check->footer("Findings go to standard error, one a line, as FILE: error: ... or FILE: warning: ...\n"
                      "Errors: an empty or truncated file. Warnings: a first byte other than 100, a name\n"
                      "whose byte 12 is not CR, a move without key frames, bytes after the last move.");
        check->add_option("FILE", *files, "Routine files (.raw)")->required()->type_name("");
        check->add_flag("--strict", *strict, "Count warnings as failures");
        check->add_flag("-q,--quiet", *quiet, "Say nothing about sound files (no FILE: ok)");
        commands.Add(check, [files, strict, quiet] { return RunCheck(*files, *strict, *quiet); });
    }
    {
        auto file = std::make_shared<std::string>();
        auto output = std::make_shared<std::string>(kStandardStream);
        CLI::App *exp = app.add_subcommand(
            "export", "Write a routine as JSON text, one key frame per line");
        exp->footer("Names keep all 12 stored bytes, each byte as the character U+0000..U+00FF of\n"
                    "the same number. import turns the text back into the same .raw file.");
        exp->add_option("FILE", *file, "Routine file (.raw); - reads standard input")
            ->required()
            ->type_name("");
        exp->add_option("-o,--output", *output, "JSON file to write (default: standard output)")
            ->type_name("OUT.json");
        commands.Add(exp, [file, output] { return RunExport(*file, *output); });
    }
    {
        auto input = std::make_shared<std::string>();
        auto output = std::make_shared<std::string>();
        CLI::App *imp = app.add_subcommand(
            "import", "Make a routine file from JSON text as export writes it");
        imp->footer("A value out of range is refused with its place in the text, for example\n"
                    "moves[2].frames[0].points[4].x: 300 is outside 0..255");
        imp->add_option("IN", *input, "JSON file; - reads standard input")->required()->type_name("");
        imp->add_option("-o,--output", *output,
                        "Routine file to write (replaced atomically; - for standard output)")
            ->required()
            ->type_name("FILE");
        commands.Add(imp, [input, output] { return RunImport(*input, *output); });
    }
}

} // namespace hoofer
