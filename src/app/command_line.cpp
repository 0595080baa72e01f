#include "command_line.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace hoofer {

namespace {

const char *const kUsage = "Usage: hooferedit [options] [FILE]\n";

CommandLineRequest UsageError(const QString &why)
{
    CommandLineRequest request;
    request.exitNow = true;
    request.exitCode = 2;
    request.standardError = "hooferedit: " + why.toStdString() + "\n" + kUsage
                            + "Run hooferedit --help for the options.\n";
    return request;
}

CommandLineRequest Answer(std::string text)
{
    CommandLineRequest request;
    request.exitNow = true;
    request.standardOutput = std::move(text);
    return request;
}

} // namespace

CommandLineRequest ParseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    // "-platform" reads as one unknown option, not as -p -l -a ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        "HooferEdit, the editor of empeg dance routines (.raw files).\n"
        "Opens FILE, if given, once the window is shown, as File > Load does.");
    const QCommandLineOption help({"h", "help"}, "Show this help and exit.");
    const QCommandLineOption version({"v", "version"}, "Show the version and exit.");
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument("FILE", "The routine file to open.", "[FILE]");

    if (!parser.parse(arguments))
        return UsageError(parser.errorText());
    if (parser.isSet(help)) {
        // The usage line names the program rather than the path it was run by.
        const QString text = parser.helpText();
        return Answer(kUsage + text.mid(text.indexOf('\n') + 1).toStdString());
    }
    if (parser.isSet(version))
        return Answer(std::string("hooferedit ") + HOOFER_VERSION + "\n");

    const QStringList files = parser.positionalArguments();
    CommandLineRequest request;
    if (files.size() > 1)
        return UsageError(QString("one FILE at most, %1 given.").arg(files.size()));
    if (files.size() == 1) {
        if (files[0].isEmpty())
            return UsageError("the FILE name is empty.");
        request.file = QFile::encodeName(QFileInfo(files[0]).absoluteFilePath()).toStdString();
    }
    return request;
}

QStringList ArgumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    return arguments;
}

int PrintCommandLineAnswer(const CommandLineRequest &request)
{
    std::fputs(request.standardOutput.c_str(), stdout);
    std::fputs(request.standardError.c_str(), stderr);
    std::fflush(stdout);
    return request.exitCode;
}

} // namespace hoofer
