// Active-mode STOR and RETR against the scripted peer: the PORT line, the
// data connection and the final replies. Transfers that fail are rows of
// FtpFailure.
#include "device_test.h"

#include <random>

namespace hoofer {
namespace {

using test::PeerError;
using test::PeerSession;
using test::ScriptedPeer;
using ::testing::ElementsAre;
using ::testing::StartsWith;

std::string RandomBytes(std::size_t count, unsigned seed)
{
    std::mt19937 generator(seed);
    std::string bytes(count, '\0');
    for (char &c : bytes)
        c = static_cast<char>(generator() & 0xFF);
    return bytes;
}

class FtpDataTransferTest : public test::FtpTest {};

// Store sends the whole source wherever it stood; retrieve takes the data
// connection only from the server, keeps everything up to its close, as much
// as the largest a routine may be (2 MiB), and takes 426 then 226 as done;
// the reply after both is the next command's.
TEST_F(FtpDataTransferTest, StoreAndRetrieveMoveEveryByteOnlyWithTheServer)
{
    const std::string stored = RandomBytes(100000, 1), retrieved = RandomBytes(2 << 20, 2);
    std::string received;
    bool strangerTurnedAway = false;
    ScriptedPeer peer([&](PeerSession &s) {
        s.Login();
        s.OpenData();
        received = s.DataReceiveAll();
        s.CloseData();
        s.Reply("226 Transfer complete");
        s.Answer("200 PORT command successful");
        s.Answer("150 Opening data connection");
        s.ConnectBack("127.0.0.2"); // somebody else gets there first: turned away
        s.DataSend("forged routine");
        try {
            strangerTurnedAway = s.DataReceiveAll().empty();
        } catch (const PeerError &) {
        }
        s.ConnectBack();
        s.DataSend(retrieved);
        s.CloseData();
        s.Reply("426 Connection closed; transfer aborted.");
        s.Reply("226 Closing data connection");
        s.Answer("200 still here");
        s.WaitForClose();
    });
    Aim(peer, true);
    TMemoryStream source(stored), destination;
    source.SetPosition(source.Size());
    ftp.Store(source, "breakdance.raw");
    EXPECT_EQ(ftp.ReplyCode, 226);
    EXPECT_EQ(ftp.DataChannel(), nullptr);
    ftp.Retrieve("princedance.raw", destination);
    EXPECT_EQ(ftp.ReplyCode, 226);
    EXPECT_TRUE(destination.Bytes() == retrieved);
    ftp.SiteCommand("RO");
    ftp.Disconnect();
    const auto lines = peer.Lines();
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_THAT(std::vector<std::string>(lines.begin() + 4, lines.end()),
                ElementsAre(StartsWith("PORT 127,0,0,1,"), "STOR breakdance.raw", StartsWith("PORT 127,0,0,1,"),
                            "RETR princedance.raw", "SITE RO"));
    EXPECT_TRUE(received == stored);
    EXPECT_TRUE(strangerTurnedAway);
    EXPECT_EQ(peer.Failure(), "");
}

TEST_F(FtpDataTransferTest, ServerDroppingTheDataConnectionMidStoreRaisesAndLeavesTheFinalReplyUnread)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.OpenData();
        s.CloseData(); // unread data on close: the client's writes meet a reset
        s.Reply("426 Connection closed; transfer aborted.");
        s.Answer("200 still here");
        s.WaitForClose();
    });
    Aim(peer, true);
    // More than both ends' socket buffers hold (a sender's grows to 4 MB).
    TMemoryStream source(RandomBytes(16 << 20, 3));
    EXPECT_THROW(ftp.Store(source, "breakdance.raw"), EIdSocketError);
    EXPECT_EQ(ftp.DataChannel(), nullptr);
    // The 426 is still waiting: the next command reads it as its own reply.
    EXPECT_THROW(ftp.SiteCommand("RO"), EIdProtocolReplyError);
    ftp.Disconnect();
}

} // namespace
} // namespace hoofer
