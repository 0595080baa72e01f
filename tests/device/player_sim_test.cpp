// The player simulator (tools/player-sim) where the window's tests do not
// reach it: a store without SITE RW, and a user of its own. The window's
// device tests run every transfer against it.
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

    TemporaryFolder folder;
    ServerProcess player{{HOOFER_SOURCE_DIR "/tools/player-sim", "--root", folder.Path(), "--port", "0",
                          "--time-limit", "60"}};
    TIdFTP ftp;
    QuietHost host;
};

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
