// The control connection against the scripted peer: greeting, login, the
// reply reader's edge cases, the lines sent, time limits and hang-ups.
#include "device_test.h"

#include <thread>

namespace hoofer {
namespace {

using test::MessageOf;
using test::PeerSession;
using test::ScriptedPeer;
using ::testing::ElementsAre;

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

class FtpControlTest : public test::FtpTest {};

TEST_F(FtpControlTest, MultiLineGreetingLoginAndCommandsAreSentExactlyAndDisconnectSendsNoQuit)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Send("220-Welcome to the player\r\n220-second line\r\n220 ready\r\n");
        s.Answer("331 Password please");
        s.Answer("230 Logged in");
        s.Answer("200 Type set");
        s.Answer("215 UNIX Type: L8");
        s.Answer("250 Directory changed");
        s.Answer("200 Mounted");
        if (!s.WaitForClose())
            throw test::PeerError("control connection left open");
    });
    std::vector<std::string> seen;
    ftp.OnDialogue = [&seen](bool sent, const std::string &line) { seen.push_back((sent ? "> " : "< ") + line); };
    Aim(peer, true);
    EXPECT_THAT(ftp.Greeting, ElementsAre("220-Welcome to the player", "220-second line", "220 ready"));
    EXPECT_EQ(ftp.SystemDescription, " UNIX Type: L8");
    ftp.ChangeDirectory("/empeg/lib/visuals/");
    ftp.SiteCommand("RW");
    EXPECT_TRUE(ftp.IsConnected());
    ftp.Disconnect();
    EXPECT_FALSE(ftp.IsConnected());
    EXPECT_THAT(peer.Lines(), ElementsAre("user Anonymous", "pass hoofer@home", "type I", "syst",
                                          "CWD /empeg/lib/visuals/", "SITE RW"));
    EXPECT_EQ(peer.Failure(), "");
    // The dialogue as a verbose log shows it, as it happened, password masked.
    EXPECT_THAT(seen, ElementsAre("< 220-Welcome to the player", "< 220-second line", "< 220 ready",
                                  "> user Anonymous", "< 331 Password please", "> pass ****", "< 230 Logged in",
                                  "> type I", "< 200 Type set", "> syst", "< 215 UNIX Type: L8",
                                  "> CWD /empeg/lib/visuals/", "< 250 Directory changed", "> SITE RW",
                                  "< 200 Mounted"));
}

TEST_F(FtpControlTest, AnswerOf230ToUserLogsInWithoutPasswordAndSyst500IsAccepted)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Reply("220 ready");
        s.Send("230-Hello\r\nthis is free text\r\n230 logged in\r\n");
        s.Answer("200 ok");
        s.Answer("500 What?");
        s.WaitForClose();
    });
    Aim(peer, true);
    EXPECT_THAT(ftp.LoginMessage, ElementsAre("230-Hello", "this is free text", "230 logged in"));
    EXPECT_EQ(ftp.SystemDescription, "Unknown");
    ftp.Disconnect();
    EXPECT_THAT(peer.Lines(), ElementsAre("user Anonymous", "type I", "syst"));
}

/// A connect that must fail: what the peer does, and the message (HOST
/// stands for the peer's address).
struct FailedConnect {
    const char *name;
    std::function<void(PeerSession &)> script;
    std::string message;
    int linesSent = -1; // -1: any number
};

class FtpConnectFailure : public test::FtpTest, public ::testing::WithParamInterface<FailedConnect> {};

const std::string kLoginTooSlow = "Read Timeout: HOST did not let us connect and log in within 0.4 s.";

INSTANTIATE_TEST_SUITE_P(
    Rows, FtpConnectFailure,
    ::testing::Values(
        FailedConnect{"GreetingOtherThan220", [](PeerSession &s) { s.Reply("421 Too many users"); },
                      "421 Too many users", 0},
        FailedConnect{"LoginRefused",
                      [](PeerSession &s) {
                          s.Reply("220 ready");
                          s.Answer("331 Password please");
                          s.Answer("530 Login incorrect.");
                      },
                      "530 Login incorrect.", 2},
        FailedConnect{"SystAnswered502",
                      [](PeerSession &s) {
                          s.Reply("220 ready");
                          s.Answer("230 in");
                          s.Answer("200 ok");
                          s.Answer("502 Command not implemented");
                      },
                      "502 Command not implemented", 3},
        FailedConnect{"SilentServer", [](PeerSession &) {}, kLoginTooSlow, 0},
        // Each reply comes well within the limit, the login as a whole does not.
        FailedConnect{"SlowLogin",
                      [](PeerSession &s) {
                          for (const char *reply : {"220 ready", "331 pass", "230 in", "200 ok", "215 UNIX"}) {
                              Pause(130);
                              s.Reply(reply);
                              s.ReadLine(); // fails once the client has given up
                          }
                      },
                      kLoginTooSlow}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_P(FtpConnectFailure, EndsClosedWithAMessageSayingWhy)
{
    const FailedConnect &row = GetParam();
    ScriptedPeer peer([&row](PeerSession &s) {
        row.script(s);
        s.WaitForClose();
    });
    Aim(peer);
    ftp.ReadTimeout = 400;
    const auto start = std::chrono::steady_clock::now();
    std::string expected = row.message;
    if (expected.find("HOST") != std::string::npos)
        expected.replace(expected.find("HOST"), 4, peer.Address());
    EXPECT_EQ(MessageOf<EIdException>([this] { ftp.Connect(); }), expected);
    EXPECT_LT(test::MsSince(start), 1500);
    EXPECT_FALSE(ftp.IsConnected());
    if (row.linesSent >= 0) {
        EXPECT_EQ(peer.Lines().size(), static_cast<std::size_t>(row.linesSent));
    }
}

TEST_F(FtpControlTest, ReplyReaderSkipsEmptyLinesTrimsBlanksEndsOnShortOrMatchingLinesAndRaisesOnRefusal)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.ReadLine();
        s.Send("\r\n   \r\n  250 Directory changed  \r\n");
        s.ReadLine();
        s.Send("200-first\r\n42\r\n"); // a line of fewer than 4 characters ends it
        s.ReadLine();
        s.Send("xyz-letters\r\nXYZ end\r\n"); // the end marker ignores case
        s.ReadLine();
        s.Send("211-a\r\n  ab \r\n"); // "ab" ends it
        s.Answer("550 /empeg/lib/visuals/: No such file or directory.");
        s.Answer("200 ok");
        s.WaitForClose();
    });
    Aim(peer, true);
    EXPECT_EQ(ftp.SendCommand("CWD x", 250), 250);
    EXPECT_THAT(ftp.ReplyLines, ElementsAre("250 Directory changed"));
    EXPECT_EQ(ftp.SendCommand("NOOP", -1), 42);
    EXPECT_THAT(ftp.ReplyLines, ElementsAre("200-first", "42"));
    EXPECT_EQ(ftp.SendCommand("NOOP", -1), 0);
    EXPECT_THAT(ftp.ReplyLines, ElementsAre("xyz-letters", "XYZ end"));
    EXPECT_EQ(ftp.SendCommand("STAT", -1), 0);
    EXPECT_THAT(ftp.ReplyLines, ElementsAre("211-a", "ab"));
    // A refused command raises with the server's line and keeps the connection.
    try {
        ftp.ChangeDirectory("/empeg/lib/visuals/");
        FAIL() << "no exception";
    } catch (const EIdProtocolReplyError &e) {
        EXPECT_STREQ(e.what(), "550 /empeg/lib/visuals/: No such file or directory.");
        EXPECT_EQ(e.ReplyErrorCode(), 550);
    }
    EXPECT_TRUE(ftp.IsConnected());
    ftp.SiteCommand("RO");
    ftp.Disconnect();
    EXPECT_EQ(peer.Failure(), "");
}

TEST_F(FtpControlTest, ServerClosingInsteadOfAnsweringRaisesConnectionClosedGracefully)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.ReadLine();
        s.CloseControl();
    });
    Aim(peer, true);
    EXPECT_EQ(MessageOf<EIdConnClosedGracefully>([this] { ftp.SiteCommand("REBOOT"); }),
              "Connection Closed Gracefully.");
    EXPECT_FALSE(ftp.IsConnected());
    // Once the peer has gone, writing is refused the same way.
    EXPECT_THROW(ftp.SiteCommand("RO"), EIdConnClosedGracefully);
}

TEST_F(FtpControlTest, IsConnectedNoticesAServerThatHungUpAndConnectingTwiceCloses)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.CloseControl();
    });
    Aim(peer, true);
    EXPECT_EQ(MessageOf<EIdAlreadyConnected>([this] { ftp.Connect(); }), "Already connected.");
    EXPECT_FALSE(ftp.IsConnected());
    ScriptedPeer other([](PeerSession &s) {
        s.Login();
        s.CloseControl();
    });
    Aim(other, true);
    other.Lines(); // the script has closed by now
    EXPECT_FALSE(ftp.IsConnected());
}

// A whole reply, all its lines, must come within the read limit: a server
// sending a line now and then is cut off.
TEST_F(FtpControlTest, ReplyTricklingInLineByLineRunsOutOfTime)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.ReadLine();
        for (int i = 0; i < 8; ++i) {
            s.Reply("211-still coming");
            Pause(100);
        }
        s.WaitForClose();
    });
    Aim(peer, true);
    ftp.ReadTimeout = 300;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(MessageOf<EIdReadTimeout>([this] { ftp.SendCommand("STAT", 211); }),
              "Read Timeout: no whole reply from " + peer.Address() + " within 0.3 s.");
    EXPECT_LT(test::MsSince(start), 600);
    ftp.Disconnect();
}

TEST_F(FtpControlTest, ReadLineWithItsOwnLimitReturnsEmptyAndFlagsTheTimeOut)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Send("partial");
        s.WaitForClose();
    });
    Aim(peer);
    ftp.TIdTCPClient::Connect();
    EXPECT_EQ(ftp.ReadLine("\n", 100), "");
    EXPECT_TRUE(ftp.ReadLnTimedOut());
    EXPECT_EQ(ftp.InputBuffer(), "partial");
    ftp.Disconnect();
}

/// A 211 reply of `lines` lines in all, its first and last included.
std::string MultiLineReply(int lines)
{
    std::string reply = "211-start\r\n";
    for (int i = 2; i < lines; ++i)
        reply += "more\r\n";
    return reply + "211 end\r\n";
}

// A server that never ends a line or a reply is cut off at the client's
// limits (16384 bytes a line, 1000 lines a reply); replies within them are
// read whole.
TEST_F(FtpControlTest, EndlessLineOrReplyIsRefusedAtTheLimitsAndLongOnesWithinThemAreRead)
{
    const std::string longLine = "200 " + std::string(16000, 'x');
    ScriptedPeer peer([&](PeerSession &s) {
        s.Login();
        s.Answer(longLine);
        s.ReadLine();
        s.Send(MultiLineReply(1000));
        s.ReadLine();
        s.Send(MultiLineReply(1001));
        s.ReadLine();
        s.Send("200 " + std::string(20000, 'y'));
        s.WaitForClose();
    });
    Aim(peer, true);
    EXPECT_EQ(ftp.SendCommand("NOOP", 200), 200);
    EXPECT_THAT(ftp.ReplyLines, ElementsAre(longLine));
    EXPECT_EQ(ftp.SendCommand("STAT", 211), 211);
    EXPECT_EQ(ftp.ReplyLines.size(), 1000u);
    EXPECT_EQ(MessageOf<EIdReplyTooLong>([this] { ftp.SendCommand("STAT", 211); }),
              "The reply has more than 1000 lines.");
    ftp.ReadLine(); // the last line of that reply
    EXPECT_EQ(MessageOf<EIdReplyTooLong>([this] { ftp.SendCommand("NOOP", 200); }),
              "The line received is longer than 16384 bytes.");
    ftp.Disconnect();
    EXPECT_EQ(peer.Failure(), "");
}

} // namespace
} // namespace hoofer
