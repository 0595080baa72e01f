#include "app/command_line.h"

#include <gtest/gtest.h>

#include <QDir>

using hoofer::CommandLineRequest;
using hoofer::ParseCommandLine;

TEST(CommandLine, AnswersStartsOrRefusesAsEachLineAsksAndHelpNamesTheFileAndBothOptions)
{
    const std::string cwd = QDir::currentPath().toStdString();
    // exitCode -1: the editor starts; out: how standard output starts; err: part of standard error.
    const struct Case {
        QStringList arguments;
        int exitCode;
        const char *out, *err;
        std::optional<std::string> file;
    } cases[] = {
        {{}, -1, "", "", std::nullopt},
        {{"dance.raw"}, -1, "", "", cwd + "/dance.raw"},
        {{"/r/../r/t\u00e4nze.raw"}, -1, "", "", "/r/t\xc3\xa4nze.raw"},
        {{"--", "-odd.raw"}, -1, "", "", cwd + "/-odd.raw"},
        {{"--help"}, 0, "Usage: hooferedit [options] [FILE]\n", "", std::nullopt},
        {{"--version"}, 0, "hooferedit 6.", "", std::nullopt},
        {{"a.raw", "b.raw"}, 2, "", "hooferedit: one FILE at most, 2 given.\nUsage: hooferedit", std::nullopt},
        {{"--bogus", "--help"}, 2, "", "Unknown option 'bogus'", std::nullopt},
        {{"-platform", "offscreen"}, 2, "", "Unknown option 'platform'", std::nullopt},
        {{""}, 2, "", "the FILE name is empty", std::nullopt},
    };
    for (const Case &c : cases) {
        const std::string row = "hooferedit " + c.arguments.join(' ').toStdString();
        const CommandLineRequest r = ParseCommandLine(QStringList{"/some/path/hooferedit"} + c.arguments);
        EXPECT_EQ(r.exitNow, c.exitCode >= 0) << row;
        EXPECT_EQ(r.exitCode, std::max(c.exitCode, 0)) << row;
        EXPECT_EQ(r.standardOutput.rfind(c.out, 0), 0u) << row << ": " << r.standardOutput;
        EXPECT_NE(r.standardError.find(c.err), std::string::npos) << row << ": " << r.standardError;
        EXPECT_EQ(r.standardError.empty(), *c.err == 0) << row << ": " << r.standardError;
        EXPECT_EQ(r.file, c.file) << row;
    }
    const std::string help = ParseCommandLine({"/some/path/hooferedit", "--help"}).standardOutput;
    EXPECT_EQ(help.find("/some/path"), std::string::npos) << help;
    for (const char *part : {"FILE", "--help", "--version", "File > Load"})
        EXPECT_NE(help.find(part), std::string::npos) << part << " in:\n" << help;
}
