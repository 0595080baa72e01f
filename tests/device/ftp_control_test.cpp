// The control connection against the scripted peer: greeting, login, the
// reply reader's edge cases and limits, the lines sent, and every way a call
// fails (time limits, refusals, hang-ups, oversized transfers) in one table.
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
        for (const char *reply : {"331 Password please", "230 Logged in", "200 Type set", "215 UNIX Type: L8",
                                  "250 Directory changed", "200 Mounted"})
            s.Answer(reply);
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

// 230 to "user" logs in without a password, 500 to "syst" is taken; replies
// skip empty lines, trim blanks, end on a short line or on the code and a
// blank in any case, and may fill the limits (1000 lines, 16384 bytes a line).
TEST_F(FtpControlTest, ReplyReaderTakesEveryShapeOfReplyWithinItsLimits)
{
    const std::string longLine = "200 " + std::string(16000, 'x');
    std::string thousandLines = "211-start\r\n";
    for (int i = 2; i < 1000; ++i)
        thousandLines += "more\r\n";
    ScriptedPeer peer([&](PeerSession &s) {
        s.Reply("220 ready");
        s.ReadLine();
        s.Send("230-Hello\r\nthis is free text\r\n230 logged in\r\n");
        s.Answer("200 ok");
        s.Answer("500 What?");
        for (const std::string &reply : {std::string("\r\n   \r\n  250 Directory changed  "),
                                         std::string("200-first\r\n42"), std::string("xyz-letters\r\nXYZ end"),
                                         std::string("211-a\r\n  ab "), thousandLines + "211 end", longLine,
                                         std::string("550 /empeg/lib/visuals/: No such file or directory."),
                                         std::string("200 ok")})
            s.Answer(reply);
        s.WaitForClose();
    });
    Aim(peer, true);
    EXPECT_THAT(ftp.LoginMessage, ElementsAre("230-Hello", "this is free text", "230 logged in"));
    EXPECT_EQ(ftp.SystemDescription, "Unknown");
    EXPECT_EQ(ftp.SendCommand("CWD x", 250), 250);
    EXPECT_THAT(ftp.ReplyLines, ElementsAre("250 Directory changed"));
    EXPECT_EQ(ftp.SendCommand("NOOP", -1), 42);
    EXPECT_THAT(ftp.ReplyLines, ElementsAre("200-first", "42"));
    EXPECT_EQ(ftp.SendCommand("NOOP", -1), 0);
    EXPECT_THAT(ftp.ReplyLines, ElementsAre("xyz-letters", "XYZ end"));
    EXPECT_EQ(ftp.SendCommand("STAT", -1), 0);
    EXPECT_THAT(ftp.ReplyLines, ElementsAre("211-a", "ab"));
    EXPECT_EQ(ftp.SendCommand("STAT", 211), 211);
    EXPECT_EQ(ftp.ReplyLines.size(), 1000u);
    EXPECT_EQ(ftp.SendCommand("NOOP", 200), 200);
    EXPECT_THAT(ftp.ReplyLines, ElementsAre(longLine));
    // A refused command raises with the server's line and keeps the connection.
    try {
        ftp.ChangeDirectory("/empeg/lib/visuals/");
        ADD_FAILURE() << "no exception";
    } catch (const EIdProtocolReplyError &e) {
        EXPECT_STREQ(e.what(), "550 /empeg/lib/visuals/: No such file or directory.");
        EXPECT_EQ(e.ReplyErrorCode(), 550);
    }
    ftp.SiteCommand("RO");
    ftp.Disconnect();
    EXPECT_THAT(peer.Lines(), ElementsAre("user Anonymous", "type I", "syst", "CWD x", "NOOP", "NOOP", "STAT",
                                          "STAT", "NOOP", "CWD /empeg/lib/visuals/", "SITE RO"));
}

TEST_F(FtpControlTest, IsConnectedNoticesAServerThatHungUp)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.CloseControl();
    });
    Aim(peer, true);
    peer.Lines(); // the script has closed by now
    EXPECT_FALSE(ftp.IsConnected());
}

TEST_F(FtpControlTest, ReadLineWithItsOwnLimitReturnsEmptyAndFlagsTheTimeOut)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Send("partial");
        s.ReadLine();
        s.Send(" line\r\n");
        s.WaitForClose();
    });
    Aim(peer);
    ftp.TIdTCPClient::Connect();
    EXPECT_EQ(ftp.ReadLine("\n", 100), "");
    EXPECT_TRUE(ftp.ReadLnTimedOut());
    EXPECT_EQ(ftp.InputBuffer(), "partial");
    ftp.WriteLine("go on");
    EXPECT_EQ(ftp.ReadLine(), "partial line");
    EXPECT_FALSE(ftp.ReadLnTimedOut());
    ftp.Disconnect();
}

/// A call that must fail: what the peer does (after the login when the
/// client logs in first), the call, the message (HOST: the peer's address)
/// and how long the failure may take. Every wait of the client is 0.3 s, a
/// transfer as a whole 0.5 s.
struct Failure {
    const char *name;
    bool loggedIn;
    std::function<void(PeerSession &)> script;
    std::function<void(TIdFTP &)> call;
    std::string message;
    int minMs = 0, maxMs = 1500;
};
void PrintTo(const Failure &row, std::ostream *out) { *out << row.name; }

const auto kConnect = [](TIdFTP &ftp) { ftp.Connect(); };
const auto kStore = [](TIdFTP &ftp) {
    TMemoryStream source(std::string(16 << 20, 's'));
    ftp.Store(source, "breakdance.raw");
};
const auto kRetrieve = [](TIdFTP &ftp) {
    TMemoryStream destination;
    ftp.Retrieve("breakdance.raw", destination);
};
/// 200 to PORT, 150 to the transfer, the connect-back, then more.
std::function<void(PeerSession &)> Data(std::function<void(PeerSession &)> more)
{
    return [more](PeerSession &s) {
        s.OpenData();
        more(s);
    };
}
const std::string kLoginTooSlow = "Read Timeout: HOST did not let us connect and log in within 0.3 s.";

class FtpFailure : public test::FtpTest, public ::testing::WithParamInterface<Failure> {};

INSTANTIATE_TEST_SUITE_P(
    Rows, FtpFailure,
    ::testing::Values(
        Failure{"GreetingOtherThan220", false, [](PeerSession &s) { s.Reply("421 Too many users"); }, kConnect,
                "421 Too many users"},
        Failure{"LoginRefused", false,
                [](PeerSession &s) {
                    s.Reply("220 ready");
                    s.Answer("331 Password please");
                    s.Answer("530 Login incorrect.");
                },
                kConnect, "530 Login incorrect."},
        Failure{"SystAnswered502", false,
                [](PeerSession &s) {
                    s.Reply("220 ready");
                    for (const char *reply : {"230 in", "200 ok", "502 Command not implemented"})
                        s.Answer(reply);
                },
                kConnect, "502 Command not implemented"},
        Failure{"SilentServer", false, [](PeerSession &) {}, kConnect, kLoginTooSlow, 250},
        // Each reply comes well within the limit, the login as a whole does not.
        Failure{"SlowLogin", false,
                [](PeerSession &s) {
                    for (const char *reply : {"220 ready", "331 pass", "230 in", "200 ok", "215 UNIX"}) {
                        Pause(100);
                        s.Reply(reply);
                        s.ReadLine(); // fails once the client has given up
                    }
                },
                kConnect, kLoginTooSlow, 250},
        Failure{"AlreadyConnected", true, [](PeerSession &) {}, kConnect, "Already connected."},
        Failure{"ServerClosesInsteadOfAnswering", true,
                [](PeerSession &s) {
                    s.ReadLine();
                    s.CloseControl();
                },
                [](TIdFTP &ftp) { ftp.SiteCommand("REBOOT"); }, "Connection Closed Gracefully."},
        // All lines of a reply must come within the limit, not each of them.
        Failure{"ReplyTricklesIn", true,
                [](PeerSession &s) {
                    s.ReadLine();
                    for (int i = 0; i < 8; ++i, Pause(100))
                        s.Reply("211-still coming");
                },
                [](TIdFTP &ftp) { ftp.SendCommand("STAT", 211); },
                "Read Timeout: no whole reply from HOST within 0.3 s.", 250, 700},
        Failure{"ReplyOfMoreThan1000Lines", true,
                [](PeerSession &s) {
                    s.Answer("211-start");
                    for (int i = 0; i < 999; ++i)
                        s.Reply("more");
                    s.Reply("211 end");
                },
                [](TIdFTP &ftp) { ftp.SendCommand("STAT", 211); }, "The reply has more than 1000 lines."},
        Failure{"LineOfMoreThan16384Bytes", true, [](PeerSession &s) { s.Answer(std::string(20000, 'y')); },
                [](TIdFTP &ftp) { ftp.SendCommand("NOOP", 200); }, "The line received is longer than 16384 bytes."},
        Failure{"EndlessLine", true,
                [](PeerSession &s) {
                    s.ReadLine();
                    s.Send(std::string(20000, 'y'));
                },
                [](TIdFTP &ftp) { ftp.SendCommand("NOOP", 200); }, "The line received is longer than 16384 bytes."},
        Failure{"NeverConnectsBack", true,
                [](PeerSession &s) {
                    s.Answer("200 PORT command successful");
                    s.Answer("150 Opening");
                },
                kStore, "The player at HOST did not open the data connection within 0.3 s.", 250},
        Failure{"StoreNeverRead", true, Data([](PeerSession &) {}), kStore,
                "Read Timeout: no data moved to HOST for 0.3 s.", 250},
        Failure{"RetrieveStalls", true, Data([](PeerSession &s) { s.DataSend("abc"); }), kRetrieve,
                "Read Timeout: no data moved from HOST for 0.3 s.", 250},
        // A byte now and then keeps each wait short, not the whole transfer.
        Failure{"RetrieveTrickles", true, Data([](PeerSession &s) {
                    for (int i = 0; i < 20; ++i, Pause(50))
                        s.DataSend("x");
                }),
                kRetrieve, "Read Timeout: the transfer with HOST ran past 0.5 s.", 450},
        // No routine comes near 2 MiB: the client stops a server sending more
        // as soon as it passes that.
        Failure{"RetrieveOfMoreThanAnyRoutine", true,
                Data([](PeerSession &s) {
                    for (int i = 0; i < 64; ++i)
                        s.DataSend(std::string(1 << 20, 'r')); // fails once the client has stopped
                }),
                kRetrieve,
                "Received more than 2097152 bytes from HOST, more than any routine holds: refused, nothing kept."},
        // An empty source still opens and closes the data connection.
        Failure{"StoreRefusedAfterTheData", true,
                Data([](PeerSession &s) {
                    const bool empty = s.DataReceiveAll().empty();
                    s.CloseData();
                    s.Reply(empty ? "550 Disc full" : "550 Data came");
                }),
                [](TIdFTP &ftp) {
                    TMemoryStream nothing;
                    ftp.Store(nothing, "breakdance.raw");
                },
                "550 Disc full"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_P(FtpFailure, EndsInTimeWithAMessageSayingWhy)
{
    const Failure &row = GetParam();
    ScriptedPeer peer([&row](PeerSession &s) {
        if (row.loggedIn)
            s.Login();
        row.script(s);
        s.WaitForClose();
    });
    Aim(peer, row.loggedIn);
    ftp.ReadTimeout = ftp.DataChannelTimeout = 300;
    ftp.TransferTimeLimit = 500;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(MessageOf<EIdException>([&] { row.call(ftp); }), test::Named(row.message, peer.Address()));
    EXPECT_GE(test::MsSince(start), row.minMs);
    EXPECT_LT(test::MsSince(start), row.maxMs);
    EXPECT_EQ(ftp.DataChannel(), nullptr);
    if (row.call.target_type() == typeid(kConnect)) { // a failed connect closes
        EXPECT_FALSE(ftp.IsConnected());
    }
    ftp.Disconnect();
}

} // namespace
} // namespace hoofer
