// The transfers against a real FTP server: the player simulator
// (tools/player-sim, pyftpdlib underneath) on 127.0.0.1, with payloads of
// every byte value, nothing, and the largest routine the format allows. Its
// users and read-only discs are met by the command-line tool's tests.
#include "device/transfers.h"
#include "device_test.h"
#include "server_process.h"

#include <random>

namespace hoofer {
namespace {

using test::ServerProcess;
using test::TemporaryFolder;
using ::testing::IsEmpty;
using ::testing::StartsWith;

constexpr std::size_t kLargestRoutine = 1700866; // 256 moves of 255 key frames

class QuietHost : public TransferHost {
public:
    void ShowStatus(const std::string &) override {}
    void StopTimer() override {}
    void StartTimer() override {}
    void Sleep(int) override {}
    void ReportError(const std::string &message) override { errors.push_back(message); }
    std::vector<std::string> errors;
};

class PlayerSimTest : public test::FtpTest {
protected:
    void SetUp() override
    {
        ASSERT_NE(player.Port(), 0) << "tools/player-sim did not start (is python3-pyftpdlib installed?)";
        ftp.ReadTimeout = ftp.ConnectTimeout = ftp.DataChannelTimeout = 5000;
    }

    TemporaryFolder folder;
    ServerProcess player{{HOOFER_SOURCE_DIR "/tools/player-sim", "--root", folder.Path(), "--port", "0",
                          "--time-limit", "60"}};
    QuietHost host;
};

TEST_F(PlayerSimTest, PayloadsTravelByteForByteBothWays)
{
    std::string everyByte;
    for (int round = 0; round < 3; ++round)
        for (int b = 0; b < 256; ++b)
            everyByte += static_cast<char>(round % 2 ? 255 - b : b);
    everyByte += std::string("\r\n\n\r\r\0", 6); // line ends and a NUL at the very end too
    std::mt19937 generator(7);
    std::string largest(kLargestRoutine, '\0');
    for (char &c : largest)
        c = static_cast<char>(generator() & 0xFF);
    folder.Write(kBreakDanceFile, std::string(5000, 'o')); // replaced by the first upload
    for (const std::string &payload : {everyByte, std::string(), largest}) {
        const std::string size = std::to_string(payload.size()) + " bytes";
        ASSERT_TRUE(UploadToPlayer(ftp, player.Address(), kBreakDanceFile, payload, host)) << size;
        EXPECT_TRUE(folder.Read(kBreakDanceFile) == payload) << size << " differ on disc";
        EXPECT_TRUE(DownloadFromPlayer(ftp, player.Address(), kBreakDanceFile, host) == payload) << size;
        EXPECT_THAT(host.errors, IsEmpty()) << size;
    }
    EXPECT_EQ(DownloadFromPlayer(ftp, player.Address(), kPrinceDanceFile, host), "");
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_THAT(host.errors[0], StartsWith("550 "));
}

} // namespace
} // namespace hoofer
