// The upload, download and reboot sequences against the scripted peer,
// watched through a host that records every status text, pause, timer
// change and error report.
#include "device/transfers.h"
#include "device_test.h"

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
    std::vector<std::string> Tail(std::size_t count) const
    {
        return {events.end() - static_cast<long>(std::min(count, events.size())), events.end()};
    }
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

const std::vector<std::string> kLoginLines{"user Anonymous", "pass hoofer@home", "type I", "syst"};

class TransfersTest : public test::FtpTest {
protected:
    std::vector<std::string> Lines(ScriptedPeer &peer)
    {
        EXPECT_EQ(peer.Failure(), "");
        return peer.Lines();
    }
    RecordingHost host;
};

TEST_F(TransfersTest, UploadRunsItsStepsWithStatusTextsAndPausesInOrder)
{
    std::string received;
    ScriptedPeer peer(AfterLogin([&](PeerSession &s) {
        s.Answer("250 CWD command successful");
        s.Answer("200 Discs mounted read-write");
        s.OpenData();
        received = s.DataReceiveAll();
        s.CloseData();
        s.Reply("226 Transfer complete");
        s.Answer("200 Discs mounted read-only");
    }));
    const std::string name = peer.Address(), payload("\0\1\2routine\xff", 12);
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
    EXPECT_THAT(std::vector<std::string>(lines.begin() + 4, lines.end()),
                ElementsAre("CWD /empeg/lib/visuals/", "SITE RW", StartsWith("PORT 127,0,0,1,"),
                            "STOR breakdance.raw", "SITE RO"));
    EXPECT_TRUE(received == payload);
}

TEST_F(TransfersTest, DownloadRunsItsStepsAndGivesTheBytesReceived)
{
    const std::string routine("\x01\x00\x00\x05" "Dance", 9);
    ScriptedPeer peer(AfterLogin([&](PeerSession &s) {
        s.Answer("250 CWD command successful");
        s.OpenData();
        s.DataSend(routine);
        s.CloseData();
        s.Reply("226 Transfer complete");
    }));
    const std::string name = peer.Address();
    EXPECT_TRUE(DownloadFromPlayer(ftp, name, kPrinceDanceFile, host) == routine);
    EXPECT_THAT(host.events,
                ElementsAre("stop timer", "status Connecting to " + name, "status Connected", "sleep 150",
                            "status Changing Directory", "sleep 150", "status Getting File from empeg", "sleep 150",
                            "status Disconnecting", "status Download complete", "start timer"));
    const auto lines = Lines(peer);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_THAT(std::vector<std::string>(lines.begin() + 4, lines.end()),
                ElementsAre("CWD /empeg/lib/visuals/", StartsWith("PORT 127,0,0,1,"), "RETR princedance.raw"));
}

/// A transfer that fails: the step it failed in and the error reported
/// (HOST: the peer's address) are the last events before the timer starts.
struct FailedTransfer {
    const char *name;
    bool upload;
    std::function<void(PeerSession &)> script; // null: nobody listens
    std::string status, error, lastLine;
};

class TransferFailure : public TransfersTest, public ::testing::WithParamInterface<FailedTransfer> {};

INSTANTIATE_TEST_SUITE_P(
    Rows, TransferFailure,
    ::testing::Values(
        FailedTransfer{"ConnectionRefused", true, nullptr, "Connecting to HOST",
                       "Socket Error # 10061\r\nConnection refused.", ""},
        // The discs stay read-write: nothing more is said to a player that refused.
        FailedTransfer{"StoreRefused", true,
                       [](PeerSession &s) {
                           s.Answer("250 CWD command successful");
                           s.Answer("200 Discs mounted read-write");
                           s.Answer("200 PORT command successful");
                           s.Answer("550 Read-only file system.");
                       },
                       "Putting File to empeg", "550 Read-only file system.", "STOR stonkdance.raw"},
        FailedTransfer{"MissingFile", false,
                       [](PeerSession &s) {
                           s.Answer("250 CWD command successful");
                           s.Answer("200 PORT command successful");
                           s.Answer("550 stonkdance.raw: No such file or directory.");
                       },
                       "Getting File from empeg", "550 stonkdance.raw: No such file or directory.",
                       "RETR stonkdance.raw"},
        FailedTransfer{"ServerGoneBeforeTheFinalReply", false,
                       [](PeerSession &s) {
                           s.Answer("250 CWD command successful");
                           s.OpenData();
                           s.DataSend("half a rout");
                           s.CloseData();
                           s.CloseControl();
                       },
                       "Getting File from empeg", "Connection Closed Gracefully.", "RETR stonkdance.raw"},
        FailedTransfer{"MoreThanAnyRoutine", false,
                       [](PeerSession &s) {
                           s.Answer("250 CWD command successful");
                           s.OpenData();
                           s.DataSend(std::string(3 << 20, 'r')); // fails once the client has stopped it
                       },
                       "Getting File from empeg",
                       "Received more than 2097152 bytes from HOST, more than any routine holds: refused, nothing kept.",
                       "RETR stonkdance.raw"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_P(TransferFailure, IsReportedAfterTheStepThatFailedAndNothingIsKept)
{
    const FailedTransfer &row = GetParam();
    std::unique_ptr<ScriptedPeer> peer;
    std::string name = test::AddressNobodyListensOn();
    if (row.script) {
        peer = std::make_unique<ScriptedPeer>([&row](PeerSession &s) {
            s.Login();
            row.script(s);
            s.WaitForClose();
        });
        name = peer->Address();
    }
    if (row.upload)
        EXPECT_FALSE(UploadToPlayer(ftp, name, kStonkDanceFile, "routine", host));
    else
        EXPECT_EQ(DownloadFromPlayer(ftp, name, kStonkDanceFile, host), "");
    auto named = [&name](std::string text) {
        return text.find("HOST") == std::string::npos ? text : text.replace(text.find("HOST"), 4, name);
    };
    EXPECT_THAT(host.Tail(3), ElementsAre("status " + named(row.status), "error " + named(row.error), "start timer"));
    EXPECT_FALSE(ftp.IsConnected());
    if (peer) {
        EXPECT_EQ(peer->Lines().back(), row.lastLine);
    }
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

    ScriptedPeer hangsUp([](PeerSession &s) {
        s.Login();
        s.ReadLine();
        s.CloseControl();
    });
    ftp.Host = hangsUp.Address();
    EXPECT_EQ(test::MessageOf<EIdConnClosedGracefully>([this] { RebootPlayer(ftp, host); }),
              "Connection Closed Gracefully.");
    EXPECT_FALSE(ftp.IsConnected());
    Lines(hangsUp);
}

} // namespace
} // namespace hoofer
