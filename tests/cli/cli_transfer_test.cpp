// upload, download and reboot through the real executable, against the
// player simulator on a free loopback port.

#include "hoofer_process.h"
#include "scripted_peer.h"
#include "server_process.h"

#include "settings/settings.h"

#include <gmock/gmock.h>

#include <QTemporaryDir>

#include <chrono>

namespace hoofer::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::EndsWith;
using ::testing::IsEmpty;
using ::testing::StartsWith;
using test::ServerProcess;
using test::TemporaryFolder;

const char *const kSimulator = HOOFER_SOURCE_DIR "/tools/player-sim";

class TransferCommands : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(player.Port(), 0) << "tools/player-sim did not start"; }
    QString Host() const { return QString::fromStdString(player.Address()); }
    QString Out(const char *name) const { return scratch.filePath(QString::fromLatin1(name)); }
    std::vector<std::string> Commands() { return player.Commands(); }

    TemporaryFolder folder;
    ServerProcess player{{kSimulator, "--root", folder.Path(), "--port", "0", "--time-limit", "60"}};
    QTemporaryDir scratch;
};

TEST_F(TransferCommands, UploadPutsTheRoutineIntoTheSlotAndTellsEachStep)
{
    const QString sampler = Example("sampler.raw");
    const HooferRun run = RunHoofer({"upload", sampler, "--host", Host(), "--slot", "princedance"});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.Err();
    EXPECT_THAT(run.Out(), IsEmpty());
    EXPECT_THAT(Lines(run.Err()),
                ElementsAre("Connecting to " + player.Address(), "Connected", "Changing Directory",
                            "Mounting discs RW", "Putting File to empeg", "Mounting discs RO", "Disconnecting",
                            "Upload complete"));
    EXPECT_TRUE(folder.Read("princedance.raw") == ReadBytes(sampler).toStdString());
    const std::string login[] = {"user Anonymous", std::string("pass ") + kDefaultFtpPassword, "type I", "syst"};
    EXPECT_THAT(Commands(), ElementsAre(login[0], login[1], login[2], login[3], "CWD /empeg/lib/visuals/",
                                        "SITE RW", "PORT", "STOR princedance.raw", "SITE RO"));
}

TEST_F(TransferCommands, DownloadWritesOnlyAWholeRoutine)
{
    const QByteArray sampler = ReadBytes(Example("sampler.raw"));
    folder.Write("stonkdance.raw", sampler.toStdString());
    HooferRun run = RunHoofer({"download", "--host", Host(), "--slot", "STONKDANCE", "-o", Out("got.raw")});
    EXPECT_EQ(run.exitCode, 0) << run.Err();
    EXPECT_EQ(Lines(run.Err()).back(), "Download complete");
    EXPECT_EQ(ReadBytes(Out("got.raw")), sampler);

    // A slot that holds no routine, or nothing at all, leaves the file alone;
    // what happened is told in order: received, then refused.
    folder.Write("stonkdance.raw", sampler.left(sampler.size() - 3).toStdString());
    run = RunHoofer({"download", "--host", Host(), "--slot", "stonkdance", "-o", Out("got.raw")});
    EXPECT_EQ(run.exitCode, 1);
    auto lines = Lines(run.Err());
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[lines.size() - 3], "Disconnecting");
    EXPECT_EQ(lines[lines.size() - 2], "Received " + std::to_string(sampler.size() - 3) + " bytes");
    EXPECT_THAT(lines.back(), StartsWith(player.Address() + ": error: stonkdance.raw from the player is"));
    EXPECT_THAT(lines.back(), EndsWith("; nothing written"));
    run = RunHoofer({"download", "--host", Host(), "--slot", "breakdance", "-o", Out("got.raw")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.Err(), HasSubstr(player.Address() + ": error: 550 "));
    EXPECT_EQ(ReadBytes(Out("got.raw")), sampler);
}

TEST_F(TransferCommands, RebootAsksThePlayerToRestart)
{
    const HooferRun run = RunHoofer({"reboot", "--host", Host()});
    EXPECT_EQ(run.exitCode, 0) << run.Err();
    EXPECT_TRUE(player.WaitForLine("would reboot now"));
    EXPECT_EQ(Commands().back(), "SITE REBOOT");
}

TEST_F(TransferCommands, FailuresExitWithOneAndSayWhatWentWrongOnOneLine)
{
    // Discs that will not remount refuse the routine.
    TemporaryFolder stuckFolder;
    ServerProcess stuck{{kSimulator, "--root", stuckFolder.Path(), "--port", "0", "--time-limit", "60",
                         "--stuck-read-only", "--user", "dancer", "--password", "s3cret"}};
    ASSERT_NE(stuck.Port(), 0);
    const QString stuckHost = QString::fromStdString(stuck.Address());
    HooferRun run = RunHoofer({"upload", Example("newmove.raw"), "--host", stuckHost, "--slot", "breakdance"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(Lines(run.Err()).back(), stuck.Address() + ": error: 550 Read-only file system: send SITE RW first.");
    EXPECT_FALSE(stuckFolder.Exists("breakdance.raw"));

    // A wrong password is the player's 530.
    run = RunHoofer({"upload", Example("newmove.raw"), "--host", stuckHost, "--slot", "breakdance", "--user",
                     "dancer", "--password", "wrong"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(Lines(run.Err()).back(), HasSubstr(": error: 530 "));

    // Nobody listening: the socket error, its CR LF turned into a blank.
    const std::string gone = test::AddressNobodyListensOn();
    run = RunHoofer({"reboot", "--host", QString::fromStdString(gone)});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(Lines(run.Err()).back(), gone + ": error: Socket Error # 10061 Connection refused.");
}

TEST_F(TransferCommands, UnknownSlotsBadHostsAndTimeoutsAreUsageErrorsThatSayWhy)
{
    EXPECT_EQ(RunHoofer({"upload", Example("newmove.raw"), "--host", Host(), "--slot", "moonwalk"}).exitCode, 2);
    EXPECT_EQ(RunHoofer({"download", "--slot", "breakdance", "-o", Out("x.raw")}).exitCode, 2);
    EXPECT_EQ(RunHoofer({"reboot"}).exitCode, 2);
    const std::pair<QString, std::string> rows[] = {
        {"", "--host: The player's network name is empty."},
        {"player:99999", "--host: Bad port '99999' in 'player:99999': a port is a number from 1 to 65535."},
        {"player:0", "--host: Bad port '0' in 'player:0': a port is a number from 1 to 65535."},
        {"player:ftp", "--host: Bad port 'ftp' in 'player:ftp': a port is a number from 1 to 65535."},
        {"010.0.0.1", "--host: '010.0.0.1' has numbers with leading zeros, which programs read differently; "
                      "write 10.0.0.1."},
    };
    for (const auto &[host, message] : rows) {
        const HooferRun run = RunHoofer({"reboot", "--host", host});
        EXPECT_EQ(run.exitCode, 2) << host.toStdString();
        EXPECT_THAT(run.Err(), HasSubstr(message));
    }
    for (const char *seconds : {"0", "3601", "soon"})
        EXPECT_EQ(RunHoofer({"reboot", "--host", Host(), "--timeout", seconds}).exitCode, 2) << seconds;
    EXPECT_TRUE(Commands().empty());
}

// -v shows the dialogue as it happens, the password masked and anything the
// player sends made harmless; --timeout bounds every wait for the player.
TEST_F(TransferCommands, VerboseShowsTheDialogueAndTimeoutBoundsTheWaits)
{
    test::ScriptedPeer peer([](test::PeerSession &s) {
        s.Reply("220 \x1b]0;owned\x07ready\rX");
        s.Answer("331 Password please");
        s.Answer("230 in");
        s.Answer("200 ok");
        s.Answer("215 UNIX");
        s.ReadLine();
        s.Send("200-rebooting\r\n"); // and never the rest of the reply
        s.WaitForClose(5000);
    });
    const auto start = std::chrono::steady_clock::now();
    const HooferRun run = RunHoofer({"reboot", "--host", QString::fromStdString(peer.Address()), "-v",
                                     "--timeout", "1", "--password", "s3cret"});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(Lines(run.Err()),
                ElementsAre("< 220 \\x1B]0;owned\\x07ready\\x0DX", "> user Anonymous", "< 331 Password please",
                            "> pass ****", "< 230 in", "> type I", "< 200 ok", "> syst", "< 215 UNIX",
                            "> SITE REBOOT", "< 200-rebooting",
                            peer.Address() + ": error: Read Timeout: no whole reply from " + peer.Address() +
                                " within 1 s."));
    EXPECT_THAT(run.Err(), ::testing::Not(HasSubstr("s3cret")));
}

} // namespace
} // namespace hoofer::testing
