// The command line itself: help, versions and usage errors.

#include "hoofer_process.h"

#include <gmock/gmock.h>

namespace hoofer::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

class CommandLine : public ::testing::Test {};

TEST_F(CommandLine, HelpListsEveryCommandAndSucceeds)
{
    const HooferRun run = RunHoofer({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    for (const char *command : {"info", "check", "render", "export", "import"})
        EXPECT_THAT(run.Out(), HasSubstr(std::string("\n  ") + command + " ")) << command;
}

TEST_F(CommandLine, EveryCommandHasItsOwnHelp)
{
    struct Case {
        const char *command;
        const char *option;
    };
    for (const Case c : {Case{"info", "FILE"}, Case{"check", "--strict"}, Case{"render", "--scale"},
                         Case{"export", "--output"}, Case{"import", "--output"}}) {
        SCOPED_TRACE(c.command);
        const HooferRun run = RunHoofer({c.command, "--help"});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_THAT(run.Out(), HasSubstr(std::string("Usage: hoofer ") + c.command));
        EXPECT_THAT(run.Out(), HasSubstr(c.option));
    }
}

TEST_F(CommandLine, UsageErrorsExitWithTwo)
{
    for (const QStringList &arguments :
         {QStringList{}, QStringList{"dance"}, QStringList{"info"}, QStringList{"import", "x.json"},
          QStringList{"render", "x.raw", "-o", "x.gif", "--scale", "0"}, QStringList{"check", "--colour"}}) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const HooferRun run = RunHoofer(arguments);
        EXPECT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_THAT(run.Err(), ::testing::Not(IsEmpty()));
    }
}

TEST_F(CommandLine, VersionIsPrinted)
{
    const HooferRun run = RunHoofer({"--version"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_THAT(run.Out(), HasSubstr("hoofer 6."));
}

} // namespace
} // namespace hoofer::testing
