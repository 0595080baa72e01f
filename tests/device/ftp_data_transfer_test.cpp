// Active-mode STOR and RETR against the scripted peer: the PORT line, the
// data connection, the final replies, the limits of time and size and what
// goes wrong on the way.
#include "device_test.h"

#include <random>
#include <thread>

namespace hoofer {
namespace {

using test::MessageOf;
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

TEST_F(FtpDataTransferTest, StoreAnnouncesLocalAddressAndSendsTheWholeSource)
{
    const std::string payload = RandomBytes(100000, 1);
    std::string received;
    ScriptedPeer peer([&received](PeerSession &s) {
        s.Login();
        s.OpenData();
        received = s.DataReceiveAll();
        s.CloseData();
        s.Reply("226 Transfer complete");
        s.WaitForClose();
    });
    Aim(peer, true);
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
    EXPECT_TRUE(received == payload);
    EXPECT_EQ(peer.Failure(), "");
}

// Everything up to the server's close is kept; 426 then 226 completes; the
// reply after both is the next command's.
TEST_F(FtpDataTransferTest, RetrieveKeepsEverythingUntilTheServerClosesAndTakes426Then226)
{
    const std::string payload = RandomBytes(200000, 2);
    ScriptedPeer peer([&payload](PeerSession &s) {
        s.Login();
        s.OpenData();
        s.DataSend(payload);
        s.CloseData();
        s.Reply("426 Connection closed; transfer aborted.");
        s.Reply("226 Closing data connection");
        s.Answer("200 still here");
        s.WaitForClose();
    });
    Aim(peer, true);
    TMemoryStream destination;
    ftp.Retrieve("princedance.raw", destination);
    EXPECT_EQ(ftp.ReplyCode, 226);
    EXPECT_TRUE(destination.Bytes() == payload);
    ftp.SiteCommand("RO");
    ftp.Disconnect();
    EXPECT_EQ(peer.Lines()[5], "RETR princedance.raw");
    EXPECT_EQ(peer.Failure(), "");
}

TEST_F(FtpDataTransferTest, EmptySourceOpensAndClosesTheDataConnectionAndAFinal550Raises)
{
    bool dataConnectionClosedEmpty = false;
    ScriptedPeer peer([&](PeerSession &s) {
        s.Login();
        s.OpenData();
        dataConnectionClosedEmpty = s.DataReceiveAll().empty();
        s.CloseData();
        s.Reply("550 Disc full");
        s.WaitForClose();
    });
    Aim(peer, true);
    TMemoryStream source;
    EXPECT_EQ(MessageOf<EIdProtocolReplyError>([&] { ftp.Store(source, "breakdance.raw"); }), "550 Disc full");
    EXPECT_TRUE(ftp.IsConnected());
    ftp.Disconnect();
    EXPECT_EQ(peer.Failure(), "");
    EXPECT_TRUE(dataConnectionClosedEmpty);
}

TEST_F(FtpDataTransferTest, DataConnectionFromAnotherAddressIsTurnedAway)
{
    bool strangerTurnedAway = false;
    ScriptedPeer peer([&](PeerSession &s) {
        s.Login();
        s.Answer("200 PORT command successful");
        s.ReadLine();
        s.Reply("150 Opening");
        s.ConnectBack("127.0.0.2"); // somebody else gets there first
        s.DataSend("forged routine");
        try {
            strangerTurnedAway = s.DataReceiveAll().empty();
        } catch (const PeerError &) {
        }
        s.ConnectBack("127.0.0.1");
        s.DataSend("real routine");
        s.CloseData();
        s.Reply("226 Transfer complete");
        s.WaitForClose();
    });
    Aim(peer, true);
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

/// A transfer the server stalls or drags out; HOST in the message stands
/// for its address.
struct SlowTransfer {
    const char *name;
    bool store;
    std::function<void(PeerSession &)> data; // after the connect-back
    std::string message;
};

class FtpSlowTransfer : public test::FtpTest, public ::testing::WithParamInterface<SlowTransfer> {};

INSTANTIATE_TEST_SUITE_P(
    Rows, FtpSlowTransfer,
    ::testing::Values(
        SlowTransfer{"NeverConnectsBack", true, nullptr,
                     "The player at HOST did not open the data connection within 0.3 s."},
        SlowTransfer{"RetrieveStalls", false, [](PeerSession &s) { s.DataSend("abc"); },
                     "Read Timeout: no data moved from HOST for 0.3 s."},
        SlowTransfer{"StoreNeverRead", true, nullptr, "Read Timeout: no data moved to HOST for 0.3 s."},
        // A byte now and then keeps each wait short, not the whole transfer.
        SlowTransfer{"RetrieveTrickles", false,
                     [](PeerSession &s) {
                         for (int i = 0; i < 20; ++i) {
                             s.DataSend("x");
                             std::this_thread::sleep_for(std::chrono::milliseconds(50));
                         }
                     },
                     "Read Timeout: the transfer with HOST ran past 0.5 s."}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_P(FtpSlowTransfer, EndsInTimeSayingWhichWaitRanOut)
{
    const SlowTransfer &row = GetParam();
    const bool connectsBack = std::string(row.name) != "NeverConnectsBack";
    ScriptedPeer peer([&](PeerSession &s) {
        s.Login();
        if (!connectsBack) {
            s.Answer("200 PORT command successful");
            s.Answer("150 Opening");
        } else {
            s.OpenData();
            if (row.data)
                row.data(s);
        }
        s.WaitForClose();
    });
    Aim(peer, true);
    ftp.ReadTimeout = ftp.DataChannelTimeout = 300;
    ftp.TransferTimeLimit = 500;
    TMemoryStream stream(std::string(row.store ? 16 << 20 : 0, 's'));
    const auto start = std::chrono::steady_clock::now();
    std::string expected = row.message;
    expected.replace(expected.find("HOST"), 4, peer.Address());
    EXPECT_EQ(MessageOf<EIdException>([&] {
                  if (row.store)
                      ftp.Store(stream, "breakdance.raw");
                  else
                      ftp.Retrieve("breakdance.raw", stream);
              }),
              expected);
    EXPECT_GE(test::MsSince(start), 250);
    EXPECT_LT(test::MsSince(start), 1500);
    EXPECT_EQ(ftp.DataChannel(), nullptr);
    ftp.Disconnect();
}

// No routine comes near 2 MiB: a server sending more is stopped as soon as
// it passes that, and the client holds no more than that.
TEST_F(FtpDataTransferTest, RetrieveTakesTwoMebibytesAndRefusesAnyMore)
{
    const std::size_t cap = 2 * 1024 * 1024;
    for (std::size_t size : {cap, std::size_t{64} << 20}) {
        ScriptedPeer peer([size](PeerSession &s) {
            s.Login();
            s.OpenData();
            const std::string block(1 << 20, 'r');
            for (std::size_t sent = 0; sent < size; sent += block.size())
                s.DataSend(block.substr(0, std::min(block.size(), size - sent)));
            s.CloseData();
            s.Reply("226 Transfer complete");
            s.WaitForClose();
        });
        Aim(peer, true);
        TMemoryStream destination;
        if (size == cap) {
            ftp.Retrieve("breakdance.raw", destination);
            EXPECT_EQ(destination.Size(), cap);
        } else {
            EXPECT_EQ(MessageOf<EIdTransferTooLarge>([&] { ftp.Retrieve("breakdance.raw", destination); }),
                      "Received more than 2097152 bytes from " + peer.Address() +
                          ", more than any routine holds: refused, nothing kept.");
            EXPECT_LE(destination.Size(), cap);
        }
        ftp.Disconnect();
    }
}

} // namespace
} // namespace hoofer
