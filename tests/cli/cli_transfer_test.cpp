// upload, download and reboot through the real executable, against the
// player simulator on a free loopback port.

#include "hoofer_process.h"
#include "scripted_peer.h"
#include "server_process.h"

#include "settings/settings.h"

#include <gmock/gmock.h>

#include <QTemporaryDir>

namespace hoofer::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
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

    // A slot that holds no routine, or nothing at all, leaves the file alone.
    folder.Write("stonkdance.raw", sampler.left(sampler.size() - 3).toStdString());
    run = RunHoofer({"download", "--host", Host(), "--slot", "stonkdance", "-o", Out("got.raw")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.Err(), HasSubstr(player.Address() + ": error: stonkdance.raw from the player is"));
    EXPECT_THAT(run.Err(), HasSubstr("nothing written"));
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

TEST_F(TransferCommands, UnknownSlotsAndMissingHostsAreUsageErrors)
{
    EXPECT_EQ(RunHoofer({"upload", Example("newmove.raw"), "--host", Host(), "--slot", "moonwalk"}).exitCode, 2);
    EXPECT_EQ(RunHoofer({"download", "--slot", "breakdance", "-o", Out("x.raw")}).exitCode, 2);
    EXPECT_EQ(RunHoofer({"reboot"}).exitCode, 2);
    EXPECT_TRUE(Commands().empty());
}

} // namespace
} // namespace hoofer::testing
