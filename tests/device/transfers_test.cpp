// The upload and download sequences against the scripted peer, watched
// through a host that records every status text, pause, timer change and
// error report. (The reboot is met by the window's device tests.)
#include "device/transfers.h"
#include "device_test.h"

namespace hoofer {
namespace {

using test::PeerSession;
using test::ScriptedPeer;
using ::testing::ElementsAre;
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

class TransfersTest : public test::FtpTest {
protected:
    /// The lines after the login, with every PORT line's address left out.
    std::vector<std::string> Commands(ScriptedPeer &peer)
    {
        EXPECT_EQ(peer.Failure(), "");
        std::vector<std::string> lines = peer.Lines();
        EXPECT_THAT(std::vector<std::string>(lines.begin(), lines.begin() + std::min<long>(4, lines.size())),
                    ElementsAre("user Anonymous", "pass hoofer@home", "type I", "syst"));
        for (std::string &line : lines)
            if (line.rfind("PORT 127,0,0,1,", 0) == 0)
                line = "PORT";
        return {lines.begin() + std::min<long>(4, lines.size()), lines.end()};
    }
    RecordingHost host;
};

TEST_F(TransfersTest, UploadAndDownloadRunTheirStepsWithStatusTextsAndPausesInOrder)
{
    std::string received;
    const std::string payload("\0\1\2routine\xff", 12);
    ScriptedPeer up([&](PeerSession &s) {
        s.Login();
        s.Answer("250 CWD command successful");
        s.Answer("200 Discs mounted read-write");
        s.OpenData();
        received = s.DataReceiveAll();
        s.CloseData();
        s.Reply("226 Transfer complete");
        s.Answer("200 Discs mounted read-only");
        s.WaitForClose();
    });
    EXPECT_TRUE(UploadToPlayer(ftp, up.Address(), kBreakDanceFile, payload, host));
    EXPECT_EQ(ftp.Host, up.Address());
    EXPECT_FALSE(ftp.IsConnected());
    EXPECT_THAT(host.events,
                ElementsAre("stop timer", "status Connecting to " + up.Address(), "status Connected", "sleep 100",
                            "status Changing Directory", "sleep 100", "status Mounting discs RW", "sleep 150",
                            "status Putting File to empeg", "sleep 100", "status Mounting discs RO", "sleep 150",
                            "status Disconnecting", "status Upload complete", "start timer"));
    EXPECT_THAT(Commands(up), ElementsAre("CWD /empeg/lib/visuals/", "SITE RW", "PORT", "STOR breakdance.raw", "SITE RO"));
    EXPECT_TRUE(received == payload);

    ScriptedPeer down([&](PeerSession &s) {
        s.Login();
        s.Answer("250 CWD command successful");
        s.OpenData();
        s.DataSend(payload);
        s.CloseData();
        s.Reply("226 Transfer complete");
        s.WaitForClose();
    });
    host.events.clear();
    EXPECT_TRUE(DownloadFromPlayer(ftp, down.Address(), kPrinceDanceFile, host) == payload);
    EXPECT_THAT(host.events,
                ElementsAre("stop timer", "status Connecting to " + down.Address(), "status Connected", "sleep 150",
                            "status Changing Directory", "sleep 150", "status Getting File from empeg", "sleep 150",
                            "status Disconnecting", "status Download complete", "start timer"));
    EXPECT_THAT(Commands(down), ElementsAre("CWD /empeg/lib/visuals/", "PORT", "RETR princedance.raw"));
}

/// A transfer that fails: the step it failed in and the error reported
/// (HOST: the peer's address) are the last events before the timer starts.
struct FailedTransfer {
    const char *name;
    bool upload;
    std::function<void(PeerSession &)> script; // null: nobody listens
    std::string status, error, lastLine;
};
void PrintTo(const FailedTransfer &row, std::ostream *out) { *out << row.name; }

class TransferFailure : public TransfersTest, public ::testing::WithParamInterface<FailedTransfer> {};

INSTANTIATE_TEST_SUITE_P(
    Rows, TransferFailure,
    ::testing::Values(
        FailedTransfer{"ConnectionRefused", true, nullptr, "Connecting to HOST",
                       "Socket Error # 10061\r\nConnection refused.", ""},
        // The discs stay read-write: nothing more is said to a player that refused.
        FailedTransfer{"StoreRefused", true,
                       [](PeerSession &s) {
                           for (const char *reply : {"250 CWD command successful", "200 Discs mounted read-write",
                                                     "200 PORT command successful", "550 Read-only file system."})
                               s.Answer(reply);
                       },
                       "Putting File to empeg", "550 Read-only file system.", "STOR stonkdance.raw"},
        FailedTransfer{"MissingFile", false,
                       [](PeerSession &s) {
                           for (const char *reply : {"250 CWD command successful", "200 PORT command successful",
                                                     "550 stonkdance.raw: No such file or directory."})
                               s.Answer(reply);
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
    EXPECT_THAT(std::vector<std::string>(host.events.end() - 3, host.events.end()),
                ElementsAre("status " + test::Named(row.status, name), "error " + test::Named(row.error, name),
                            "start timer"));
    EXPECT_FALSE(ftp.IsConnected());
    if (peer) {
        EXPECT_EQ(peer->Lines().back(), row.lastLine);
    }
}

} // namespace
} // namespace hoofer
