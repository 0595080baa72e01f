// The client against the scripted peer; no name is ever looked up by the
// system's resolver: a stand-in answers.
#include "device/id_ftp.h"
#include "device/player_address.h"
#include "scripted_peer.h"

#include <gmock/gmock.h>

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <regex>
#include <thread>

namespace hoofer {
namespace {

using test::PeerError;
using test::PeerSession;
using test::ScriptedPeer;
using ::testing::_;
using ::testing::ElementsAre;
using ::testing::StartsWith;
using ::testing::ThrowsMessage;
using namespace std::string_literals;

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

/// Milliseconds since start.
long long MsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

/// A client with short time limits, aimed at a scripted peer.
class FtpControlTest : public ::testing::Test {
protected:
    FtpControlTest()
    {
        ftp.Username = "Anonymous";
        ftp.Password = "hoofer@home";
        ftp.ReadTimeout = ftp.ConnectTimeout = ftp.DataChannelTimeout = 2000;
    }
    TIdFTP ftp;
};

// 500 to "syst" is taken and 230 to "user" needs no password. The dialogue
// is shown as it happens, the password masked. (The fuzz corpus pins the
// shapes of replies; the failure table below, the limits.)
TEST_F(FtpControlTest, LoginDialogueRefusalsAndAHangUp)
{
    ScriptedPeer peer([&](PeerSession &s) {
        s.Send("220-Welcome to the player\r\n220 ready\r\n");
        for (const std::string &reply : {"331 Password please"s, "230-Hello\r\nthis is free text\r\n230 logged in"s,
                                         "200 ok"s, "500 What?"s, "550 No such directory."s, "230 Welcome back"s})
            s.Answer(reply);
        s.CloseControl();
    });
    std::vector<std::string> seen;
    ftp.OnDialogue = [&seen](bool sent, const std::string &line) { seen.push_back((sent ? "> " : "< ") + line); };
    ftp.Host = peer.Address();
    ftp.Connect();
    ftp.OnDialogue = nullptr;
    EXPECT_THAT(ftp.Greeting, ElementsAre("220-Welcome to the player", "220 ready"));
    EXPECT_THAT(ftp.LoginMessage, ElementsAre("230-Hello", "this is free text", "230 logged in"));
    EXPECT_EQ(ftp.SystemDescription, "Unknown");
    EXPECT_THAT(seen, ElementsAre("< 220-Welcome to the player", "< 220 ready", "> user Anonymous",
                                  "< 331 Password please", "> pass ****", "< 230-Hello", "< this is free text",
                                  "< 230 logged in", "> type I", "< 200 ok", "> syst", "< 500 What?"));
    EXPECT_THROW(ftp.ChangeDirectory("/empeg/lib/visuals/"), EIdProtocolReplyError); // and the connection stays
    ftp.Login();
    EXPECT_THAT(ftp.LoginMessage, ElementsAre("230 Welcome back"));
    EXPECT_THAT(peer.Lines(), ElementsAre("user Anonymous", "pass hoofer@home", "type I", "syst",
                                          "CWD /empeg/lib/visuals/", "user Anonymous"));
    // The peer has hung up by now: that is noticed, and a command raises.
    EXPECT_FALSE(ftp.IsConnected());
    EXPECT_THROW(ftp.SiteCommand("RO"), EIdConnClosedGracefully);
}

std::string RandomBytes(std::size_t count, unsigned seed)
{
    std::independent_bits_engine<std::mt19937, 8, unsigned> generator(seed);
    std::string bytes(count, '\0');
    std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<char>(generator()); });
    return bytes;
}

// Store sends the whole source wherever it stood; retrieve takes the data
// connection only from the server, keeps everything up to its close, as much
// as the largest a routine may be (2 MiB), and takes 426 then 226 as done;
// the reply after both is the next command's. A store the server drops raises
// and leaves the server's final reply unread.
TEST_F(FtpControlTest, StoreAndRetrieveMoveEveryByteOnlyWithTheServerAndADroppedStoreRaises)
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
        s.OpenData("127.0.0.2"); // somebody else gets there first: turned away
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
        s.OpenData();
        s.CloseData(); // unread data on close: the client's writes meet a reset
        s.Reply("426 Connection closed; transfer aborted.");
        s.WaitForClose();
    });
    ftp.Host = peer.Address();
    ftp.Connect();
    TMemoryStream source(stored), destination;
    source.SetPosition(source.Size());
    ftp.Store(source, "breakdance.raw");
    EXPECT_EQ(ftp.DataChannel(), nullptr);
    ftp.Retrieve("princedance.raw", destination);
    EXPECT_EQ(ftp.ReplyCode, 226);
    EXPECT_TRUE(destination.Bytes() == retrieved);
    ftp.SiteCommand("RO");
    // More than both ends' socket buffers hold (a sender's grows to 4 MB).
    TMemoryStream dropped(RandomBytes(16 << 20, 3));
    EXPECT_THROW(ftp.Store(dropped, "breakdance.raw"), EIdSocketError);
    EXPECT_THROW(ftp.SiteCommand("RO"), EIdProtocolReplyError); // the 426 is read as its reply
    ftp.Disconnect();
    EXPECT_THAT(peer.Lines(), ElementsAre(_, _, _, _, StartsWith("PORT 127,0,0,1,"), "STOR breakdance.raw",
                                          StartsWith("PORT 127,0,0,1,"), "RETR princedance.raw", "SITE RO",
                                          StartsWith("PORT 127,0,0,1,"), "STOR breakdance.raw", "SITE RO"));
    EXPECT_TRUE(received == stored);
    EXPECT_TRUE(strangerTurnedAway);
}

/// Host names as this test's resolver knows them: "player" is 127.0.0.1,
/// nothing else exists. Every name asked for is recorded.
class FtpConnectionTest : public FtpControlTest {
protected:
    ~FtpConnectionTest() override { TIdStack::SetResolver(m_previous); }
    std::vector<std::string> asked;

private:
    TIdStack::Resolver m_previous = TIdStack::SetResolver([this](const std::string &host) {
        asked.push_back(host);
        if (host == "player")
            return std::string("127.0.0.1");
        throw EIdSocketError(11001);
    });
};

// The host text is checked before any network use, and what is wrong is said;
// then names are looked up, but localhost and dotted addresses are not. A
// second connect raises and closes the connection, so the next one opens.
TEST_F(FtpConnectionTest, HostTextsAreCheckedFirstThenOnlyNamesAreLookedUp)
{
    const struct {
        const char *text;
        std::string result; // "host|port", or the problem
    } rows[] = {
        {"player", "player|21"},
        {"10.0.0.5:2121", "10.0.0.5|2121"},
        {"", "The player's network name is empty."},
        {":21", "No network name before the port in ':21'."},
        {"player:99999", "Bad port '99999' in 'player:99999': a port is a number from 1 to 65535."},
        {"player:ftp", "Bad port 'ftp' in 'player:ftp': a port is a number from 1 to 65535."},
        {"010.0.0.1", "'010.0.0.1' has numbers with leading zeros, which programs read differently; write 10.0.0.1."},
        {"256.0.0.1", "'256.0.0.1' is not an IPv4 address: four numbers from 0 to 255 separated by dots."},
        {"1..3.4:21", "'1..3.4' is not an IPv4 address: four numbers from 0 to 255 separated by dots."},
    };
    for (const auto &row : rows) {
        ftp.Host = row.text;
        std::string result;
        try {
            std::string host;
            int port = 0;
            ftp.TargetOf(host, port);
            result = host + "|" + std::to_string(port);
        } catch (const EIdBadAddress &e) {
            result = e.what();
            EXPECT_THAT([this] { ftp.Connect(); }, ThrowsMessage<EIdBadAddress>(result)) << row.text;
        }
        EXPECT_EQ(result, row.result) << "'" << row.text << "'";
        EXPECT_EQ(PlayerAddressProblem(row.text), result.find('|') == std::string::npos ? result : "") << row.text;
    }
    for (std::string name : {"player", "LocalHost", "127.0.0.1"}) {
        ScriptedPeer peer([](PeerSession &s) {
            s.Login();
            s.WaitForClose();
        });
        ftp.Host = name + peer.Address().substr(9); // the port after 127.0.0.1
        ftp.Connect();
        EXPECT_EQ(ftp.IOHandler()->Binding().PeerIP(), "127.0.0.1") << name;
        EXPECT_THROW(ftp.Connect(), EIdAlreadyConnected) << name;
    }
    ftp.Host = "no-such-player"; // the resolver's failure is the connection's
    EXPECT_THAT([this] { ftp.Connect(); }, ThrowsMessage<EIdSocketError>("Socket Error # 11001\r\n"));
    EXPECT_FALSE(ftp.IsConnected());
    EXPECT_EQ(asked, (std::vector<std::string>{"player", "no-such-player"}));
}

TEST_F(FtpConnectionTest, ConnectThatNeverCompletesRunsOutOfTime)
{
    // A listener that never accepts, its queue filled by others: the next
    // handshake goes unanswered.
    test::LoopbackSocket listener(0);
    std::vector<int> fillers;
    for (int i = 0; i < 4; ++i) {
        fillers.push_back(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
        ::connect(fillers.back(), reinterpret_cast<const sockaddr *>(&listener.address), sizeof listener.address);
    }
    ftp.Host = listener.Address();
    ftp.ConnectTimeout = 300;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THAT([this] { ftp.Connect(); }, ThrowsMessage<EIdConnectTimeout>("Connect timed out: no connection to " +
                                                                             listener.Address() + " within 0.3 s."));
    EXPECT_LT(MsSince(start), 2000);
    for (int fd : fillers)
        ::close(fd);
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

class FtpFailure : public FtpControlTest, public ::testing::WithParamInterface<Failure> {};

INSTANTIATE_TEST_SUITE_P(
    Rows, FtpFailure,
    ::testing::Values(
        Failure{"SlowLogin", false,
                [](PeerSession &s) {
                    for (const char *reply : {"220 ready", "331 pass", "230 in", "200 ok", "215 UNIX"}) {
                        Pause(100);
                        s.Reply(reply);
                        s.ReadLine(); // fails once the client has given up
                    }
                },
                [](TIdFTP &ftp) { ftp.Connect(); }, "Read Timeout: HOST did not let us connect and log in within 0.3 s.", 250},
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
    ftp.Host = peer.Address();
    if (row.loggedIn)
        ftp.Connect();
    ftp.ReadTimeout = ftp.DataChannelTimeout = 300;
    ftp.TransferTimeLimit = 500;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THAT([&] { row.call(ftp); },
                ThrowsMessage<EIdException>(std::regex_replace(row.message, std::regex("HOST"), peer.Address())));
    EXPECT_GE(MsSince(start), row.minMs);
    EXPECT_LT(MsSince(start), row.maxMs);
    EXPECT_EQ(ftp.DataChannel(), nullptr);
    ftp.Disconnect();
}

} // namespace
} // namespace hoofer
