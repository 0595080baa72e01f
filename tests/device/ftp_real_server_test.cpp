// The FTP client against a real server: pyftpdlib on 127.0.0.1, started by
// the test, with payloads of every byte value, nothing, and the largest
// routine the format allows.
#include "device/id_ftp.h"
#include "server_process.h"

#include <gmock/gmock.h>

#include <random>

namespace hoofer {
namespace {

using test::ServerProcess;
using test::TemporaryFolder;
using ::testing::StartsWith;

constexpr std::size_t kLargestRoutine = 1700866; // 256 moves of 255 key frames

class FtpRealServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(server.Port(), 0) << "pyftpdlib did not start (is python3-pyftpdlib installed?)";
        ftp.Host = server.Address();
        ftp.Username = "Anonymous";
        ftp.Password = "hoofer@home";
        ftp.ReadTimeout = 5000;
        ftp.ConnectTimeout = 5000;
        ftp.DataChannelTimeout = 5000;
        // pyftpdlib knows only the lower-case anonymous user.
        ftp.Username = "anonymous";
        ftp.Connect();
    }
    void TearDown() override
    {
        if (ftp.IsConnected())
            ftp.Disconnect();
    }

    /// Stores payload under name, checks the file on disk, fetches it back.
    std::string RoundTrip(const std::string &name, const std::string &payload)
    {
        TMemoryStream source(payload);
        ftp.Store(source, name);
        EXPECT_EQ(ftp.ReplyCode, 226);
        EXPECT_TRUE(folder.Exists(name));
        EXPECT_TRUE(folder.Read(name) == payload) << name << " differs on disk";
        TMemoryStream back;
        ftp.Retrieve(name, back);
        EXPECT_EQ(ftp.ReplyCode, 226);
        return back.Bytes();
    }

    TemporaryFolder folder;
    ServerProcess server{{HOOFER_SOURCE_DIR "/tests/device/plain_ftp_server.py", folder.Path(), "60"}};
    TIdFTP ftp;
};

TEST_F(FtpRealServerTest, EveryByteValueTravelsUnchanged)
{
    std::string payload;
    for (int round = 0; round < 3; ++round)
        for (int b = 0; b < 256; ++b)
            payload += static_cast<char>(round % 2 ? 255 - b : b);
    payload += "\r\n\n\r\r\0"; // line ends and a NUL at the very end survive too
    EXPECT_TRUE(RoundTrip("bytes.raw", payload) == payload);
}

TEST_F(FtpRealServerTest, EmptyPayloadStoresAnEmptyFile)
{
    EXPECT_EQ(RoundTrip("empty.raw", ""), "");
    EXPECT_EQ(folder.Read("empty.raw").size(), 0u);
}

TEST_F(FtpRealServerTest, LargestRoutineTravelsByteForByte)
{
    std::mt19937 generator(7);
    std::string payload(kLargestRoutine, '\0');
    for (char &c : payload)
        c = static_cast<char>(generator() & 0xFF);
    const std::string back = RoundTrip("largest.raw", payload);
    EXPECT_EQ(back.size(), kLargestRoutine);
    EXPECT_TRUE(back == payload);
}

TEST_F(FtpRealServerTest, StoringReplacesAnOlderFileAndMissingFilesAreRefused)
{
    folder.Write("old.raw", std::string(5000, 'o'));
    EXPECT_EQ(RoundTrip("old.raw", "new"), "new");
    TMemoryStream destination;
    try {
        ftp.Retrieve("missing.raw", destination);
        FAIL() << "no exception";
    } catch (const EIdProtocolReplyError &e) {
        EXPECT_THAT(e.what(), StartsWith("550 "));
    }
    EXPECT_TRUE(ftp.IsConnected());
    EXPECT_THROW(ftp.ChangeDirectory("/no/such/folder"), EIdProtocolReplyError);
    ftp.ChangeDirectory("/");
}

} // namespace
} // namespace hoofer
