// The player simulator (tools/player-sim) as the device transfers see it:
// uploads land in its folder byte for byte, its log shows the exact command
// lines, and it refuses uploads while its discs are read-only.
#include "device/transfers.h"
#include "server_process.h"

#include <gmock/gmock.h>

namespace hoofer {
namespace {

using test::ServerProcess;
using test::TemporaryFolder;
using ::testing::StartsWith;

class QuietHost : public TransferHost {
public:
    void ShowStatus(const std::string &text) override { lastStatus = text; }
    void StopTimer() override {}
    void StartTimer() override {}
    void Sleep(int) override {}
    void ReportError(const std::string &message) override { errors.push_back(message); }
    std::string lastStatus;
    std::vector<std::string> errors;
};

std::string EveryByteValue()
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    return bytes;
}

class PlayerSimTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(player.Port(), 0) << "tools/player-sim did not start";
        ftp.Username = "Anonymous";
        ftp.Password = "hoofer@home";
        ftp.ReadTimeout = 5000;
        ftp.ConnectTimeout = 5000;
        ftp.DataChannelTimeout = 5000;
    }
    /// The command lines the simulator logged.
    std::vector<std::string> Commands()
    {
        std::vector<std::string> commands;
        for (const std::string &line : player.Lines())
            if (line.rfind("> ", 0) == 0)
                commands.push_back(line.substr(2));
        return commands;
    }

    TemporaryFolder folder;
    ServerProcess player{{HOOFER_SOURCE_DIR "/tools/player-sim", "--root", folder.Path(), "--port", "0",
                          "--time-limit", "60"}};
    TIdFTP ftp;
    QuietHost host;
};

TEST_F(PlayerSimTest, UploadsLandInEachSlotByteForByte)
{
    const char *slots[] = {kBreakDanceFile, kPrinceDanceFile, kStonkDanceFile};
    for (int i = 0; i < 3; ++i) {
        const std::string payload = EveryByteValue() + std::string(i * 1000, static_cast<char>(i));
        ASSERT_TRUE(UploadToPlayer(ftp, player.Address(), slots[i], payload, host)) << host.errors.front();
        EXPECT_EQ(host.lastStatus, "Upload complete");
        EXPECT_TRUE(folder.Read(slots[i]) == payload) << slots[i];
    }
    EXPECT_TRUE(host.errors.empty());
}

TEST_F(PlayerSimTest, LogShowsTheExactLinesOfUploadDownloadAndReboot)
{
    ASSERT_TRUE(UploadToPlayer(ftp, player.Address(), kBreakDanceFile, EveryByteValue(), host));
    EXPECT_TRUE(DownloadFromPlayer(ftp, player.Address(), kBreakDanceFile, host) == EveryByteValue());
    RebootPlayer(ftp, host);
    ASSERT_TRUE(player.WaitForLine("would reboot now"));
    std::vector<std::string> commands = Commands();
    const std::vector<std::string> login{"user Anonymous", "pass hoofer@home", "type I", "syst"};
    std::vector<std::string> expected = login;
    for (const char *line : {"CWD /empeg/lib/visuals/", "SITE RW", "PORT", "STOR breakdance.raw", "SITE RO"})
        expected.push_back(line);
    expected.insert(expected.end(), login.begin(), login.end());
    for (const char *line : {"CWD /empeg/lib/visuals/", "PORT", "RETR breakdance.raw"})
        expected.push_back(line);
    expected.insert(expected.end(), login.begin(), login.end());
    expected.push_back("SITE REBOOT");
    // The PORT lines carry an address of the moment: compare their start only.
    for (std::string &line : commands)
        if (line.rfind("PORT 127,0,0,1,", 0) == 0)
            line = "PORT";
    EXPECT_EQ(commands, expected); // and no QUIT anywhere
    EXPECT_TRUE(host.errors.empty());
}

TEST_F(PlayerSimTest, UploadWhileTheDiscsAreReadOnlyIsRefused)
{
    ftp.Host = player.Address();
    ftp.Connect();
    ftp.ChangeDirectory(kPlayerRoutineFolder);
    TMemoryStream source(std::string("routine"));
    try {
        ftp.Store(source, kBreakDanceFile);
        FAIL() << "stored on read-only discs";
    } catch (const EIdProtocolReplyError &e) {
        EXPECT_THAT(e.what(), StartsWith("550 "));
    }
    ftp.Disconnect();
    EXPECT_FALSE(folder.Exists(kBreakDanceFile));
}

TEST_F(PlayerSimTest, DownloadOfAnEmptySlotIsReportedWithThePlayersLine)
{
    EXPECT_EQ(DownloadFromPlayer(ftp, player.Address(), kPrinceDanceFile, host), "");
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_THAT(host.errors[0], StartsWith("550 "));
    EXPECT_EQ(host.lastStatus, "Getting File from empeg");
}

TEST_F(PlayerSimTest, ConfiguredUserLogsInAndAWrongPasswordIsRefused)
{
    TemporaryFolder other;
    ServerProcess withUser{{HOOFER_SOURCE_DIR "/tools/player-sim", "--root", other.Path(), "--port", "0",
                            "--time-limit", "60", "--user", "dancer", "--password", "s3cret"}};
    ASSERT_NE(withUser.Port(), 0);
    ftp.Username = "dancer";
    ftp.Password = "s3cret";
    ASSERT_TRUE(UploadToPlayer(ftp, withUser.Address(), kStonkDanceFile, "moves", host));
    EXPECT_EQ(other.Read(kStonkDanceFile), "moves");
    ftp.Password = "wrong";
    EXPECT_FALSE(UploadToPlayer(ftp, withUser.Address(), kStonkDanceFile, "other", host));
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_THAT(host.errors[0], StartsWith("530 "));
    EXPECT_EQ(other.Read(kStonkDanceFile), "moves");
}

} // namespace
} // namespace hoofer
