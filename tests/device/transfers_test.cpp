// The upload, download and reboot sequences against the scripted peer,
// watched through a host that records every status text, pause, timer
// change and error report.
#include "device/transfers.h"
#include "scripted_peer.h"

#include <gmock/gmock.h>

namespace hoofer {
namespace {

using test::PeerSession;
using test::ScriptedPeer;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::StartsWith;

class RecordingHost : public TransferHost {
public:
    void ShowStatus(const std::string &text) override { events.push_back("status " + text); }
    void StopTimer() override { events.push_back("stop timer"); }
    void StartTimer() override { events.push_back("start timer"); }
    void Sleep(int ms) override { events.push_back("sleep " + std::to_string(ms)); }
    void ReportError(const std::string &message) override { events.push_back("error " + message); }
    std::vector<std::string> events;
};

/// Answers the login, then the rest of script; then waits for the client to go.
ScriptedPeer::Script AfterLogin(std::function<void(PeerSession &)> rest)
{
    return [rest](PeerSession &s) {
        s.Login();
        rest(s);
        if (!s.WaitForClose())
            throw test::PeerError("the client left the control connection open");
    };
}

void ServeStore(PeerSession &s, std::string &received)
{
    s.Answer("200 PORT command successful");
    s.ReadLine();
    s.Reply("150 Opening data connection");
    s.ConnectBack();
    received = s.DataReceiveAll();
    s.CloseData();
    s.Reply("226 Transfer complete");
}

const std::vector<std::string> kLoginLines{"user Anonymous", "pass hoofer@home", "type I", "syst"};

class TransfersTest : public ::testing::Test {
protected:
    void Aim(ScriptedPeer &peer) { name = peer.Address(); }
    void SetUp() override
    {
        ftp.Username = "Anonymous";
        ftp.Password = "hoofer@home";
        ftp.ReadTimeout = 2000;
        ftp.ConnectTimeout = 2000;
        ftp.DataChannelTimeout = 2000;
    }
    std::vector<std::string> Lines(ScriptedPeer &peer)
    {
        EXPECT_EQ(peer.Failure(), "");
        return peer.Lines();
    }

    TIdFTP ftp;
    RecordingHost host;
    std::string name;
};

TEST_F(TransfersTest, UploadRunsItsStepsWithStatusTextsAndPausesInOrder)
{
    std::string received;
    ScriptedPeer peer(AfterLogin([&](PeerSession &s) {
        s.Answer("250 CWD command successful");
        s.Answer("200 Discs mounted read-write");
        ServeStore(s, received);
        s.Answer("200 Discs mounted read-only");
    }));
    Aim(peer);
    const std::string payload("\0\1\2routine\xff", 12);
    EXPECT_TRUE(UploadToPlayer(ftp, name, kBreakDanceFile, payload, host));
    EXPECT_EQ(ftp.Host, name);
    EXPECT_FALSE(ftp.IsConnected());
    EXPECT_THAT(host.events,
                ElementsAre("stop timer", "status Connecting to " + name, "status Connected", "sleep 100",
                            "status Changing Directory", "sleep 100", "status Mounting discs RW", "sleep 150",
                            "status Putting File to empeg", "sleep 100", "status Mounting discs RO", "sleep 150",
                            "status Disconnecting", "status Upload complete", "start timer"));
    auto lines = Lines(peer);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_THAT(std::vector<std::string>(lines.begin(), lines.begin() + 4), ElementsAreArray(kLoginLines));
    EXPECT_EQ(lines[4], "CWD /empeg/lib/visuals/");
    EXPECT_EQ(lines[5], "SITE RW");
    EXPECT_THAT(lines[6], StartsWith("PORT 127,0,0,1,"));
    EXPECT_EQ(lines[7], "STOR breakdance.raw");
    EXPECT_EQ(lines[8], "SITE RO");
    EXPECT_TRUE(received == payload);
}

TEST_F(TransfersTest, UploadRefusedAtStoreKeepsThatStatusAndLeavesTheDiscsReadWrite)
{
    ScriptedPeer peer(AfterLogin([](PeerSession &s) {
        s.Answer("250 CWD command successful");
        s.Answer("200 Discs mounted read-write");
        s.Answer("200 PORT command successful");
        s.Answer("550 Read-only file system.");
    }));
    Aim(peer);
    EXPECT_FALSE(UploadToPlayer(ftp, name, kStonkDanceFile, "routine", host));
    EXPECT_FALSE(ftp.IsConnected());
    ASSERT_GE(host.events.size(), 3u);
    const std::vector<std::string> tail(host.events.end() - 3, host.events.end());
    EXPECT_THAT(tail, ElementsAre("status Putting File to empeg", "error 550 Read-only file system.", "start timer"));
    const auto lines = Lines(peer);
    EXPECT_EQ(lines.back(), "STOR stonkdance.raw"); // no SITE RO on the way out
}

TEST_F(TransfersTest, RefusedConnectionIsReportedWithTheSocketErrorAndTheTimerRunsAgain)
{
    name = test::AddressNobodyListensOn();
    EXPECT_FALSE(UploadToPlayer(ftp, name, kPrinceDanceFile, "routine", host));
    EXPECT_THAT(host.events, ElementsAre("stop timer", "status Connecting to " + name,
                                         "error Socket Error # 10061\r\nConnection refused.", "start timer"));
}

TEST_F(TransfersTest, DownloadRunsItsStepsAndGivesTheBytesReceived)
{
    const std::string routine("\x01\x00\x00\x05" "Dance", 9);
    ScriptedPeer peer(AfterLogin([&](PeerSession &s) {
        s.Answer("250 CWD command successful");
        s.Answer("200 PORT command successful");
        s.ReadLine();
        s.ConnectBack();
        s.Reply("150 Opening data connection");
        s.DataSend(routine);
        s.CloseData();
        s.Reply("226 Transfer complete");
    }));
    Aim(peer);
    EXPECT_TRUE(DownloadFromPlayer(ftp, name, kPrinceDanceFile, host) == routine);
    EXPECT_THAT(host.events,
                ElementsAre("stop timer", "status Connecting to " + name, "status Connected", "sleep 150",
                            "status Changing Directory", "sleep 150", "status Getting File from empeg", "sleep 150",
                            "status Disconnecting", "status Download complete", "start timer"));
    const auto lines = Lines(peer);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[4], "CWD /empeg/lib/visuals/");
    EXPECT_THAT(lines[5], StartsWith("PORT 127,0,0,1,"));
    EXPECT_EQ(lines[6], "RETR princedance.raw");
}

TEST_F(TransfersTest, DownloadOfAMissingFileReportsThePlayersLineAndGivesNothing)
{
    ScriptedPeer peer(AfterLogin([](PeerSession &s) {
        s.Answer("250 CWD command successful");
        s.Answer("200 PORT command successful");
        s.Answer("550 stonkdance.raw: No such file or directory.");
    }));
    Aim(peer);
    EXPECT_EQ(DownloadFromPlayer(ftp, name, kStonkDanceFile, host), "");
    const std::vector<std::string> tail(host.events.end() - 3, host.events.end());
    EXPECT_THAT(tail, ElementsAre("status Getting File from empeg",
                                  "error 550 stonkdance.raw: No such file or directory.", "start timer"));
    EXPECT_FALSE(ftp.IsConnected());
    Lines(peer);
}

TEST_F(TransfersTest, ServerClosingMidDownloadIsReportedAndNothingIsKept)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.Answer("250 CWD command successful");
        s.Answer("200 PORT command successful");
        s.ReadLine();
        s.Reply("150 Opening data connection");
        s.ConnectBack();
        s.DataSend("half a rout");
        s.CloseData();
        s.CloseControl(); // gone before the final reply
    });
    Aim(peer);
    EXPECT_EQ(DownloadFromPlayer(ftp, name, kBreakDanceFile, host), "");
    const std::vector<std::string> tail(host.events.end() - 3, host.events.end());
    EXPECT_THAT(tail,
                ElementsAre("status Getting File from empeg", "error Connection Closed Gracefully.", "start timer"));
    EXPECT_FALSE(ftp.IsConnected());
    Lines(peer);
}

TEST_F(TransfersTest, RebootSendsSiteRebootToTheCurrentHostAndCloses)
{
    ScriptedPeer peer(AfterLogin([](PeerSession &s) { s.Answer("200 Rebooting"); }));
    ftp.Host = peer.Address();
    RebootPlayer(ftp, host);
    EXPECT_THAT(host.events, ElementsAre("sleep 100", "sleep 100"));
    EXPECT_FALSE(ftp.IsConnected());
    auto expected = kLoginLines;
    expected.push_back("SITE REBOOT");
    EXPECT_THAT(Lines(peer), ElementsAreArray(expected));
}

TEST_F(TransfersTest, RebootThatThePlayerHangsUpOnRaisesClosedGracefullyAndEndsClosed)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.ReadLine();
        s.CloseControl();
    });
    ftp.Host = peer.Address();
    try {
        RebootPlayer(ftp, host);
        FAIL() << "no exception";
    } catch (const EIdConnClosedGracefully &e) {
        EXPECT_STREQ(e.what(), "Connection Closed Gracefully.");
    }
    EXPECT_FALSE(ftp.IsConnected());
    Lines(peer);
}

} // namespace
} // namespace hoofer
