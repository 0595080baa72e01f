#pragma once

#include <QStringList>

#include <optional>
#include <string>

namespace hoofer {

/// What `hooferedit`'s command line asks for: either an answer to print and
/// an exit status (help, version, usage errors), or a start of the editor,
/// optionally with one routine file to open once the window is shown.
struct CommandLineRequest {
    bool exitNow = false;       ///< end at once with exitCode, after printing
    int exitCode = 0;           ///< 0 for --help and --version, 2 for a usage error
    std::string standardOutput; ///< what to print on standard output
    std::string standardError;  ///< what to print on standard error
    /// The file to open: absolute (a save dialog preset with a relative name
    /// would look in its own folder), in the file system's encoding.
    std::optional<std::string> file;
};

/// Reads the command line (the program name first, as QCoreApplication's
/// arguments() gives it). Needs no application object, so main can answer
/// --help and --version before the window system starts, which works without
/// a display. Qt's own options (-platform, -style, ...) are usage errors here:
/// QApplication takes them out of its arguments(), so the full reading is the
/// one over those.
CommandLineRequest ParseCommandLine(const QStringList &arguments);

/// The program's arguments as the process received them.
QStringList ArgumentsOf(int argc, char **argv);

/// Prints a request's texts on standard output and standard error and
/// returns its exit status.
int PrintCommandLineAnswer(const CommandLineRequest &request);

} // namespace hoofer
