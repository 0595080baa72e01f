// The control connection against the scripted peer: greeting, login, the
// reply reader's edge cases, the lines sent, time limits and hang-ups.
#include "device/id_ftp.h"
#include "scripted_peer.h"

#include <gmock/gmock.h>

namespace hoofer {
namespace {

using test::PeerSession;
using test::ScriptedPeer;
using ::testing::ElementsAre;

class FtpControlTest : public ::testing::Test {
protected:
    /// A client aimed at peer, with short time limits so that nothing waits long.
    void Aim(ScriptedPeer &peer)
    {
        ftp.Host = peer.Address();
        ftp.Username = "Anonymous";
        ftp.Password = "hoofer@home";
        ftp.ReadTimeout = 2000;
        ftp.ConnectTimeout = 2000;
        ftp.DataChannelTimeout = 2000;
    }

    TIdFTP ftp;
};

TEST_F(FtpControlTest, MultiLineGreetingIsReadWholeAndLoginFollows)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Send("220-Welcome to the player\r\n220-second line\r\n220 ready\r\n");
        s.Answer("331 Password please");
        s.Answer("230 Logged in");
        s.Answer("200 Type set");
        s.Answer("215 UNIX Type: L8");
        s.WaitForClose();
    });
    Aim(peer);
    ftp.Connect();
    EXPECT_THAT(ftp.Greeting, ElementsAre("220-Welcome to the player", "220-second line", "220 ready"));
    EXPECT_EQ(ftp.SystemDescription, " UNIX Type: L8");
    EXPECT_TRUE(ftp.IsConnected());
    ftp.Disconnect();
    EXPECT_EQ(peer.Failure(), "");
}

TEST_F(FtpControlTest, GreetingWithAnotherCodeFailsTheConnectWhichEndsClosed)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Reply("421 Too many users");
        s.WaitForClose();
    });
    Aim(peer);
    try {
        ftp.Connect();
        FAIL() << "connect succeeded";
    } catch (const EIdProtocolReplyError &e) {
        EXPECT_STREQ(e.what(), "421 Too many users");
        EXPECT_EQ(e.ReplyErrorCode(), 421);
    }
    EXPECT_FALSE(ftp.IsConnected());
    EXPECT_EQ(peer.Failure(), "");
    EXPECT_TRUE(peer.Lines().empty());
}

TEST_F(FtpControlTest, LinesOfLoginAndCommandsAreSentExactlyAndDisconnectSendsNoQuit)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.Answer("250 Directory changed");
        s.Answer("200 Mounted");
        if (!s.WaitForClose())
            throw test::PeerError("control connection left open");
    });
    Aim(peer);
    ftp.Connect();
    ftp.ChangeDirectory("/empeg/lib/visuals/");
    ftp.SiteCommand("RW");
    ftp.Disconnect();
    EXPECT_FALSE(ftp.IsConnected());
    EXPECT_THAT(peer.Lines(), ElementsAre("user Anonymous", "pass hoofer@home", "type I", "syst",
                                          "CWD /empeg/lib/visuals/", "SITE RW"));
    EXPECT_EQ(peer.Failure(), "");
}

TEST_F(FtpControlTest, AnswerOf230ToUserLogsInWithoutPassword)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Reply("220 ready");
        s.Send("230-Hello\r\nthis is free text\r\n230 logged in\r\n");
        s.Answer("200 ok");
        s.Answer("215 UNIX");
        s.WaitForClose();
    });
    Aim(peer);
    ftp.Connect();
    EXPECT_THAT(ftp.LoginMessage, ElementsAre("230-Hello", "this is free text", "230 logged in"));
    EXPECT_EQ(ftp.ReplyCode, 215);
    ftp.Disconnect();
    EXPECT_THAT(peer.Lines(), ElementsAre("user Anonymous", "type I", "syst"));
}

TEST_F(FtpControlTest, RefusedLoginRaisesWithTheWholeReplyLineAndCloses)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Reply("220 ready");
        s.Answer("331 Password please");
        s.Answer("530 Login incorrect.");
        s.WaitForClose();
    });
    Aim(peer);
    try {
        ftp.Connect();
        FAIL() << "connect succeeded";
    } catch (const EIdProtocolReplyError &e) {
        EXPECT_STREQ(e.what(), "530 Login incorrect.");
        EXPECT_EQ(e.ReplyErrorCode(), 530);
    }
    EXPECT_FALSE(ftp.IsConnected());
    EXPECT_EQ(peer.Failure(), "");
}

TEST_F(FtpControlTest, SystAnswered502FailsTheConnectAnd500IsAccepted)
{
    {
        ScriptedPeer peer([](PeerSession &s) {
            s.Reply("220 ready");
            s.Answer("230 in");
            s.Answer("200 ok");
            s.Answer("502 Command not implemented");
            s.WaitForClose();
        });
        Aim(peer);
        EXPECT_THROW(ftp.Connect(), EIdProtocolReplyError);
        EXPECT_FALSE(ftp.IsConnected());
    }
    ScriptedPeer peer([](PeerSession &s) {
        s.Reply("220 ready");
        s.Answer("230 in");
        s.Answer("200 ok");
        s.Answer("500 What?");
        s.WaitForClose();
    });
    Aim(peer);
    ftp.Connect();
    EXPECT_EQ(ftp.SystemDescription, "Unknown");
    ftp.Disconnect();
}

TEST_F(FtpControlTest, ReplyReaderSkipsEmptyLinesTrimsBlanksAndEndsOnShortOrMatchingLines)
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
        s.Send("211-a\r\n  ab \r\n211 end\r\n");
        s.WaitForClose();
    });
    Aim(peer);
    ftp.Connect();
    EXPECT_EQ(ftp.SendCommand("CWD x", 250), 250);
    EXPECT_THAT(ftp.ReplyLines, ElementsAre("250 Directory changed"));
    EXPECT_EQ(ftp.SendCommand("NOOP", -1), 42);
    EXPECT_THAT(ftp.ReplyLines, ElementsAre("200-first", "42"));
    EXPECT_EQ(ftp.SendCommand("NOOP", -1), 0);
    EXPECT_THAT(ftp.ReplyLines, ElementsAre("xyz-letters", "XYZ end"));
    EXPECT_EQ(ftp.SendCommand("STAT", -1), 0);
    EXPECT_THAT(ftp.ReplyLines, ElementsAre("211-a", "ab"));
    ftp.Disconnect();
    EXPECT_EQ(peer.Failure(), "");
}

TEST_F(FtpControlTest, RefusedCommandRaisesWithServerLineAndKeepsTheConnection)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.Answer("550 /empeg/lib/visuals/: No such file or directory.");
        s.Answer("200 ok");
        s.WaitForClose();
    });
    Aim(peer);
    ftp.Connect();
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
}

TEST_F(FtpControlTest, ServerClosingInsteadOfAnsweringRaisesConnectionClosedGracefully)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.ReadLine();
        s.CloseControl();
    });
    Aim(peer);
    ftp.Connect();
    try {
        ftp.SiteCommand("REBOOT");
        FAIL() << "no exception";
    } catch (const EIdConnClosedGracefully &e) {
        EXPECT_STREQ(e.what(), "Connection Closed Gracefully.");
    }
    EXPECT_FALSE(ftp.IsConnected());
    // Once the peer has gone, writing is refused the same way.
    EXPECT_THROW(ftp.SiteCommand("RO"), EIdConnClosedGracefully);
}

TEST_F(FtpControlTest, IsConnectedNoticesAServerThatHungUp)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.CloseControl();
    });
    Aim(peer);
    ftp.Connect();
    peer.Lines(); // the script has closed by now
    EXPECT_FALSE(ftp.IsConnected());
}

TEST_F(FtpControlTest, SilentServerRaisesReadTimeoutAndTheConnectEndsClosed)
{
    ScriptedPeer peer([](PeerSession &s) { s.WaitForClose(3000); });
    Aim(peer);
    ftp.ReadTimeout = 200;
    const auto start = std::chrono::steady_clock::now();
    try {
        ftp.Connect();
        FAIL() << "connect succeeded";
    } catch (const EIdReadTimeout &e) {
        EXPECT_STREQ(e.what(), "Read Timeout");
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_FALSE(ftp.IsConnected());
}

TEST_F(FtpControlTest, ReadLineWithItsOwnLimitReturnsEmptyAndFlagsTheTimeOut)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Send("partial");
        s.WaitForClose(3000);
    });
    Aim(peer);
    ftp.TIdTCPClient::Connect();
    EXPECT_EQ(ftp.ReadLine("\n", 100), "");
    EXPECT_TRUE(ftp.ReadLnTimedOut());
    EXPECT_EQ(ftp.InputBuffer(), "partial");
    ftp.Disconnect();
}

TEST_F(FtpControlTest, ConnectWhileConnectedRaisesAlreadyConnectedAndCloses)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.WaitForClose();
    });
    Aim(peer);
    ftp.Connect();
    try {
        ftp.Connect();
        FAIL() << "second connect succeeded";
    } catch (const EIdAlreadyConnected &e) {
        EXPECT_STREQ(e.what(), "Already connected.");
    }
    EXPECT_FALSE(ftp.IsConnected());
    EXPECT_EQ(peer.Failure(), "");
}

/// A 211 reply of `lines` lines in all, its first and last included.
std::string MultiLineReply(int lines)
{
    std::string reply = "211-start\r\n";
    for (int i = 2; i < lines; ++i)
        reply += "more\r\n";
    return reply + "211 end\r\n";
}

// A server that keeps sending without ever ending a line or a reply is cut
// off at the client's limits (16384 bytes a line, 1000 lines a reply) instead
// of being read for as long as it sends; replies within them are read whole.
TEST_F(FtpControlTest, EndlessLineOrReplyIsRefusedAtTheLimitsAndLongOnesWithinThemAreRead)
{
    const std::string longLine = "200 " + std::string(16000, 'x');
    ScriptedPeer peer([&](PeerSession &s) {
        s.Login();
        s.ReadLine();
        s.Reply(longLine);
        s.ReadLine();
        s.Send(MultiLineReply(1000));
        s.ReadLine();
        s.Send("200 " + std::string(20000, 'y'));
        s.WaitForClose();
    });
    Aim(peer);
    ftp.Connect();
    EXPECT_EQ(ftp.SendCommand("NOOP", 200), 200);
    EXPECT_THAT(ftp.ReplyLines, ElementsAre(longLine));
    EXPECT_EQ(ftp.SendCommand("STAT", 211), 211);
    EXPECT_EQ(ftp.ReplyLines.size(), 1000u);
    try {
        ftp.SendCommand("NOOP", 200);
        FAIL() << "no exception";
    } catch (const EIdReplyTooLong &e) {
        EXPECT_STREQ(e.what(), "The line received is longer than 16384 bytes.");
    }
    ftp.Disconnect();
    EXPECT_EQ(peer.Failure(), "");
}

TEST_F(FtpControlTest, ReplyOfMoreThanAThousandLinesIsRefused)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.ReadLine();
        s.Send(MultiLineReply(1001));
        s.WaitForClose();
    });
    Aim(peer);
    ftp.Connect();
    try {
        ftp.SendCommand("STAT", 211);
        FAIL() << "no exception";
    } catch (const EIdReplyTooLong &e) {
        EXPECT_STREQ(e.what(), "The reply has more than 1000 lines.");
    }
    ftp.Disconnect();
    EXPECT_EQ(peer.Failure(), "");
}

} // namespace
} // namespace hoofer
