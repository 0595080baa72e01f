// The command line itself: help, usage errors, and how names and texts from
// outside are taken and printed.

#include "hoofer_process.h"
#include "scripted_peer.h"
#include "server_process.h"

#include <gmock/gmock.h>

#include <QTemporaryDir>

#include <fstream>

namespace hoofer::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

TEST(CommandLine, EveryCommandHasItsHelpBothWays)
{
    const HooferRun top = RunHoofer({"--help"});
    EXPECT_EQ(top.exitCode, 0);
    EXPECT_THAT(RunHoofer({"--version"}).Out(), HasSubstr("hoofer 6."));
    const std::pair<const char *, const char *> commands[] = {
        {"info", "FILE"}, {"check", "--strict"}, {"render", "--scale"}, {"export", "--output"},
        {"import", "--output"}, {"upload", "--slot"}, {"download", "--slot"}, {"reboot", "--host"}};
    for (const auto &[command, option] : commands) {
        EXPECT_THAT(top.Out(), HasSubstr(std::string("\n  ") + command + " ")) << command;
        for (const QStringList &asked : {QStringList{command, "--help"}, QStringList{"help", command}}) {
            const HooferRun run = RunHoofer(asked);
            EXPECT_EQ(run.exitCode, 0) << asked.join(' ').toStdString();
            EXPECT_THAT(run.Out(), HasSubstr(std::string("Usage: hoofer ") + command + " [OPTIONS]"))
                << asked.join(' ').toStdString();
            EXPECT_THAT(run.Out(), HasSubstr(option)) << asked.join(' ').toStdString();
        }
    }
}

TEST(CommandLine, UsageErrorsExitWithTwoAndSayWhy)
{
    const std::pair<QStringList, std::string> rows[] = {
        {{}, "Usage: hoofer"},
        {{"dance"}, "hoofer: 'dance' is not a hoofer command; see 'hoofer --help'\n"},
        {{"help", "dance"}, "hoofer: 'dance' is not a hoofer command; see 'hoofer --help'\n"},
        {{"\x1b]0;x\x07"}, "hoofer: '\\x1B]0;x\\x07' is not a hoofer command"},
        {{"info"}, "FILE is required"},
        {{"import", "x.json"}, "--output is required"},
        {{"render", "x.raw"}, "-o,--output or --frames is required"},
        {{"render", "x.raw", "-o", "x.gif", "--scale", "0"}, "--scale"},
        {{"check", "--colour", "x.raw"}, "--colour"},
        {{"upload", "x.raw", "--host", "127.0.0.1", "--slot", "moonwalk"},
         "--slot: 'moonwalk' is not a slot; the slots are breakdance, princedance and stonkdance"},
        {{"download", "--slot", "breakdance", "-o", "x.raw"}, "--host is required"},
    };
    for (const auto &[arguments, message] : rows) {
        const HooferRun run = RunHoofer(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_THAT(run.Err(), HasSubstr(message)) << arguments.join(' ').toStdString();
    }
}

/// What the tool prints from outside never carries a raw control character.
void ExpectNoControls(const HooferRun &run, const std::string &what)
{
    for (const char c : run.Err() + run.Out())
        EXPECT_FALSE((c >= 0 && c < 0x20 && c != '\n') || c == 0x7F || c == '\x9b') << what << ": " << run.Err();
}

TEST(TextFromOutside, ControlCharactersAreEscaped)
{
    // A reply line that would retitle the terminal and overwrite the line.
    test::ScriptedPeer peer([](test::PeerSession &s) {
        s.Reply("220 \x1b]0;owned\x07 hi\roops");
        s.Answer("530 \x1b[2J\x9b denied");
        s.WaitForClose();
    });
    HooferRun run = RunHoofer({"reboot", "--host", QString::fromStdString(peer.Address())});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(Lines(run.Err()).back(), peer.Address() + ": error: 530 \\x1B[2J\\x9B denied");
    ExpectNoControls(run, "reply");

    run = RunHooferBytes({"check", "a\x1b]0;x\x07\r.raw"});
    EXPECT_EQ(run.Err(), "a\\x1B]0;x\\x07\\x0D.raw: error: cannot read: No such file or directory\n");

    QTemporaryDir dir;
    const QString json = dir.filePath("bad.json");
    WriteBytes(json, "{\"moves\": [{\"name\": \"\", \"frames\": [], \"\\u001b]0;x\\u0007\\u009b\": 1}]}");
    run = RunHoofer({"import", json, "-o", dir.filePath("x.raw")});
    EXPECT_THAT(run.Err(), HasSubstr("moves[0]: unknown key \"\\x1B]0;x\\x07\\x9B\""));
    WriteBytes(json, "{\"version\": \"\\u009b\\u0085\", \"moves\": []}");
    run = RunHoofer({"import", json, "-o", dir.filePath("x.raw")});
    EXPECT_THAT(run.Err(), HasSubstr("version: \"\\x9B\\x85\" is not an integer"));
    ExpectNoControls(run, "json");
}

TEST(TextFromOutside, FileNamesAreBytes)
{
    QTemporaryDir dir;
    const std::string at = dir.path().toStdString() + "/";
    const std::string raw = at + "caf\xe9.raw", json = at + "out\xe9.json", back = at + "back\xe9.raw";
    const std::string sampler = ReadBytes(Example("sampler.raw")).toStdString();
    std::ofstream(raw, std::ios::binary) << sampler;
    EXPECT_EQ(RunHooferBytes({"check", raw}).Out(), at + "caf\\xE9.raw: ok\n");
    EXPECT_THAT(RunHooferBytes({"info", raw}).Out(), HasSubstr("4 moves, 708 bytes"));
    EXPECT_EQ(RunHooferBytes({"export", raw, "-o", json}).exitCode, 0);
    EXPECT_EQ(RunHooferBytes({"import", json, "-o", back}).exitCode, 0);
    EXPECT_EQ(FileBytes(back), sampler);
    EXPECT_EQ(RunHooferBytes({"render", raw, "-o", at + "w\xe9.gif", "--frames", at + "d\xe9"}).exitCode, 0);
    EXPECT_FALSE(FileBytes(at + "w\xe9.gif").empty());
    EXPECT_FALSE(FileBytes(at + "d\xe9/0001.png").empty());

    test::TemporaryFolder folder;
    test::ServerProcess player{{HOOFER_SOURCE_DIR "/tools/player-sim", "--root", folder.Path(), "--port", "0",
                                "--time-limit", "60"}};
    ASSERT_NE(player.Port(), 0);
    const std::string host = player.Address();
    HooferRun run = RunHooferBytes({"upload", raw, "--host", host, "--slot", "breakdance"});
    EXPECT_EQ(run.exitCode, 0) << run.Err();
    run = RunHooferBytes({"download", "--host", host, "--slot", "breakdance", "-o", at + "got\xe9.raw"});
    EXPECT_EQ(run.exitCode, 0) << run.Err();
    EXPECT_EQ(FileBytes(at + "got\xe9.raw"), sampler);
}

} // namespace
} // namespace hoofer::testing
