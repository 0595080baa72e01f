// Active-mode STOR and RETR against the scripted peer: the PORT line, the
// data connection, the final replies and what goes wrong on the way.
#include "device/id_ftp.h"
#include "scripted_peer.h"

#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
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

class FtpDataTransferTest : public ::testing::Test {
protected:
    void Aim(ScriptedPeer &peer)
    {
        ftp.Host = peer.Address();
        ftp.Username = "Anonymous";
        ftp.Password = "hoofer@home";
        ftp.ReadTimeout = 2000;
        ftp.ConnectTimeout = 2000;
        ftp.DataChannelTimeout = 2000;
        ftp.Connect();
    }

    TIdFTP ftp;
};

TEST_F(FtpDataTransferTest, StoreAnnouncesLocalAddressAndSendsTheWholeSource)
{
    const std::string payload = RandomBytes(100000, 1);
    std::string received;
    ScriptedPeer peer([&received](PeerSession &s) {
        s.Login();
        s.Answer("200 PORT command successful");
        s.ReadLine();
        s.Reply("150 Opening data connection");
        s.ConnectBack();
        received = s.DataReceiveAll();
        s.CloseData();
        s.Reply("226 Transfer complete");
        s.WaitForClose();
    });
    Aim(peer);
    TMemoryStream source(payload);
    source.SetPosition(source.Size()); // the whole stream goes, wherever it stood
    ftp.Store(source, "breakdance.raw");
    EXPECT_EQ(ftp.ReplyCode, 226);
    EXPECT_EQ(ftp.DataChannel(), nullptr);
    ftp.Disconnect();
    const auto lines = peer.Lines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_THAT(lines[4], StartsWith("PORT 127,0,0,1,"));
    EXPECT_EQ(lines[5], "STOR breakdance.raw");
    EXPECT_EQ(received.size(), payload.size());
    EXPECT_TRUE(received == payload);
    EXPECT_EQ(peer.Failure(), "");
}

TEST_F(FtpDataTransferTest, PortAnnouncementSplitsThePortIntoHighAndLowByte)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.Answer("200 PORT command successful");
        s.WaitForClose();
    });
    Aim(peer);
    TIdSocketHandle listener;
    listener.AllocateSocket();
    try {
        listener.Bind("127.0.0.1", 1025);
    } catch (const EIdCouldNotBindSocket &) {
        ftp.Disconnect();
        GTEST_SKIP() << "port 1025 is in use on this machine";
    }
    ftp.SendPort(listener);
    ftp.Disconnect();
    EXPECT_EQ(peer.Lines().back(), "PORT 127,0,0,1,4,1");
}

TEST_F(FtpDataTransferTest, RetrieveKeepsEverythingUntilTheServerCloses)
{
    const std::string payload = RandomBytes(200000, 2);
    ScriptedPeer peer([&payload](PeerSession &s) {
        s.Login();
        s.Answer("200 PORT command successful");
        s.ReadLine();
        s.ConnectBack();
        s.Reply("150 Here it comes");
        s.DataSend(payload);
        s.CloseData();
        s.Reply("226 Transfer complete");
        s.WaitForClose();
    });
    Aim(peer);
    TMemoryStream destination;
    ftp.Retrieve("princedance.raw", destination);
    ftp.Disconnect();
    EXPECT_EQ(peer.Lines().back(), "RETR princedance.raw");
    EXPECT_EQ(destination.Size(), payload.size());
    EXPECT_TRUE(destination.Bytes() == payload);
}

TEST_F(FtpDataTransferTest, FinalReplyOf426Then226CompletesNormally)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.Answer("200 PORT command successful");
        s.ReadLine();
        s.Reply("150 Opening");
        s.ConnectBack();
        s.DataSend("abc");
        s.CloseData();
        s.Reply("426 Connection closed; transfer aborted.");
        s.Reply("226 Closing data connection");
        s.Answer("200 still here");
        s.WaitForClose();
    });
    Aim(peer);
    TMemoryStream destination;
    ftp.Retrieve("stonkdance.raw", destination);
    EXPECT_EQ(ftp.ReplyCode, 226);
    EXPECT_EQ(destination.Bytes(), "abc");
    ftp.SiteCommand("RO"); // the two replies were both read: the next one is SITE's
    ftp.Disconnect();
    EXPECT_EQ(peer.Failure(), "");
}

TEST_F(FtpDataTransferTest, FinalReplyOf550Raises)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.Answer("200 PORT command successful");
        s.ReadLine();
        s.Reply("150 Opening");
        s.ConnectBack();
        s.DataReceiveAll();
        s.CloseData();
        s.Reply("550 Disc full");
        s.WaitForClose();
    });
    Aim(peer);
    TMemoryStream source(std::string("routine"));
    try {
        ftp.Store(source, "breakdance.raw");
        FAIL() << "no exception";
    } catch (const EIdProtocolReplyError &e) {
        EXPECT_STREQ(e.what(), "550 Disc full");
    }
    EXPECT_TRUE(ftp.IsConnected());
    ftp.Disconnect();
}

TEST_F(FtpDataTransferTest, RefusedRetrieveRaisesWithoutADataConnection)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.Answer("200 PORT command successful");
        s.Answer("550 No such file or directory.");
        s.WaitForClose();
    });
    Aim(peer);
    TMemoryStream destination;
    EXPECT_THROW(ftp.Retrieve("breakdance.raw", destination), EIdProtocolReplyError);
    EXPECT_EQ(ftp.DataChannel(), nullptr);
    EXPECT_EQ(destination.Size(), 0u);
    ftp.Disconnect();
}

TEST_F(FtpDataTransferTest, EmptySourceOpensAndClosesTheDataConnectionAndReadsTheFinalReply)
{
    bool dataConnectionClosedEmpty = false;
    ScriptedPeer peer([&](PeerSession &s) {
        s.Login();
        s.Answer("200 PORT command successful");
        s.ReadLine();
        s.Reply("150 Opening");
        s.ConnectBack();
        dataConnectionClosedEmpty = s.DataReceiveAll().empty();
        s.CloseData();
        s.Reply("226 Transfer complete");
        s.WaitForClose();
    });
    Aim(peer);
    TMemoryStream source;
    ftp.Store(source, "breakdance.raw");
    EXPECT_EQ(ftp.ReplyCode, 226);
    ftp.Disconnect();
    EXPECT_EQ(peer.Failure(), "");
    EXPECT_TRUE(dataConnectionClosedEmpty);
}

TEST_F(FtpDataTransferTest, ServerThatNeverConnectsBackEndsTheWaitInTime)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.Answer("200 PORT command successful");
        s.Answer("150 Opening");
        s.WaitForClose();
    });
    Aim(peer);
    ftp.DataChannelTimeout = 300;
    TMemoryStream source(std::string("x"));
    const auto start = std::chrono::steady_clock::now();
    try {
        ftp.Store(source, "breakdance.raw");
        FAIL() << "no exception";
    } catch (const EIdAcceptTimeout &e) {
        EXPECT_STREQ(e.what(), "The player did not open the data connection in time.");
    }
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(250));
    EXPECT_LT(waited, std::chrono::seconds(2));
    EXPECT_EQ(ftp.DataChannel(), nullptr);
    ftp.Disconnect();
}

TEST_F(FtpDataTransferTest, DataConnectionFromAnotherAddressIsTurnedAway)
{
    bool strangerTurnedAway = false;
    ScriptedPeer peer([&](PeerSession &s) {
        s.Login();
        s.Answer("200 PORT command successful");
        s.ReadLine();
        s.Reply("150 Opening");
        // Somebody else gets there first, from 127.0.0.2.
        s.ConnectBack("127.0.0.2");
        s.DataSend("forged routine");
        try {
            strangerTurnedAway = s.DataReceiveAll().empty();
        } catch (const PeerError &) {
            strangerTurnedAway = false;
        }
        s.ConnectBack("127.0.0.1");
        s.DataSend("real routine");
        s.CloseData();
        s.Reply("226 Transfer complete");
        s.WaitForClose();
    });
    Aim(peer);
    TMemoryStream destination;
    ftp.Retrieve("breakdance.raw", destination);
    ftp.Disconnect();
    EXPECT_EQ(peer.Failure(), "");
    EXPECT_TRUE(strangerTurnedAway);
    EXPECT_EQ(destination.Bytes(), "real routine");
}

TEST_F(FtpDataTransferTest, ServerDroppingTheDataConnectionMidStoreRaisesAndLeavesTheFinalReplyUnread)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.Answer("200 PORT command successful");
        s.ReadLine();
        s.Reply("150 Opening");
        s.ConnectBack();
        s.CloseData(); // unread data on close: the client's writes meet a reset
        s.Reply("426 Connection closed; transfer aborted.");
        s.Answer("200 still here");
        s.WaitForClose();
    });
    Aim(peer);
    // More than the two ends' socket buffers can hold between them (a
    // sender's buffer grows to 4 MB at most), so the writes cannot all be
    // taken before the reset arrives.
    TMemoryStream source(RandomBytes(16 << 20, 3));
    EXPECT_THROW(ftp.Store(source, "breakdance.raw"), EIdSocketError);
    EXPECT_EQ(ftp.DataChannel(), nullptr);
    // The 426 is still waiting: the next command reads it as its own reply.
    EXPECT_THROW(ftp.SiteCommand("RO"), EIdProtocolReplyError);
    ftp.Disconnect();
}

} // namespace
} // namespace hoofer
