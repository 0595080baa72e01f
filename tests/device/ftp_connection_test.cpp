// Opening and losing connections: host texts, refused, unknown and
// unreachable hosts, hang-ups while sending, and the error texts. No name is
// ever looked up by the system's resolver: a stand-in answers.
#include "device/id_simple_server.h"
#include "device/player_address.h"
#include "device_test.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace hoofer {
namespace {

using test::MessageOf;
using test::PeerSession;
using test::ScriptedPeer;

/// A socket bound on 127.0.0.1 that the test controls itself; listening
/// with backlog >= 0.
struct RawListener {
    explicit RawListener(int backlog) : fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0))
    {
        socklen_t length = sizeof address;
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
        if (backlog >= 0)
            ::listen(fd, backlog);
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length);
    }
    ~RawListener() { ::close(fd); }
    std::string Address() const { return "127.0.0.1:" + std::to_string(ntohs(address.sin_port)); }
    int fd;
    sockaddr_in address{};
};

/// Host names as this test's resolver knows them: "player" is 127.0.0.1,
/// nothing else exists. Every name asked for is recorded.
class FtpConnectionTest : public test::FtpTest {
protected:
    FtpConnectionTest()
    {
        m_previous = TIdStack::SetResolver([this](const std::string &host) {
            asked.push_back(host);
            if (host == "player")
                return std::string("127.0.0.1");
            throw EIdSocketError(11001);
        });
    }
    ~FtpConnectionTest() override { TIdStack::SetResolver(m_previous); }
    std::vector<std::string> asked;

private:
    TIdStack::Resolver m_previous;
};

TEST_F(FtpConnectionTest, RefusedConnectionAndUnknownHostGiveTheirSocketErrors)
{
    RawListener closed(-1); // bound, never listening: connections are refused
    ftp.Host = closed.Address();
    EXPECT_EQ(MessageOf<EIdSocketError>([this] { ftp.Connect(); }), "Socket Error # 10061\r\nConnection refused.");
    EXPECT_FALSE(ftp.IsConnected());
    ftp.Host = "no-such-player";
    EXPECT_EQ(MessageOf<EIdSocketError>([this] { ftp.Connect(); }), "Socket Error # 11001\r\n");
    EXPECT_EQ(asked, std::vector<std::string>{"no-such-player"});
}

TEST_F(FtpConnectionTest, NamesAreLookedUpButLocalhostAndDottedAddressesAreNot)
{
    for (std::string name : {"player", "LocalHost", "127.0.0.1"}) {
        ScriptedPeer peer([](PeerSession &s) {
            s.Login();
            s.WaitForClose();
        });
        ftp.Host = name + ":" + std::to_string(peer.Port());
        ftp.Connect();
        EXPECT_EQ(ftp.IOHandler()->Binding().PeerIP(), "127.0.0.1") << name;
        ftp.Disconnect();
    }
    EXPECT_EQ(asked, std::vector<std::string>{"player"});
    for (const char *ip : {"127.0.0.1", "255.255.255.0"})
        EXPECT_TRUE(TIdStack::IsIP(ip)) << ip;
    for (const char *text : {"256.0.0.1", "1.2.3", "1.2.3.4.5", "1..3.4", " 1.2.3.4"})
        EXPECT_FALSE(TIdStack::IsIP(text)) << text;
}

// The host text is checked before any network use; what is wrong is said.
TEST_F(FtpConnectionTest, HostTextsAreSplitOrRefusedBeforeAnyLookup)
{
    const struct {
        const char *text;
        std::string result; // "host|port", or the problem
    } rows[] = {
        {"player", "player|21"},
        {"10.0.0.5:2121", "10.0.0.5|2121"},
        {"player:65535", "player|65535"},
        {" player ", " player |21"}, // blanks are the user's business
        {"", "The player's network name is empty."},
        {":21", "No network name before the port in ':21'."},
        {"player:", "Bad port '' in 'player:': a port is a number from 1 to 65535."},
        {"player:0", "Bad port '0' in 'player:0': a port is a number from 1 to 65535."},
        {"player:99999", "Bad port '99999' in 'player:99999': a port is a number from 1 to 65535."},
        {"player:ftp", "Bad port 'ftp' in 'player:ftp': a port is a number from 1 to 65535."},
        {"010.0.0.1", "'010.0.0.1' has numbers with leading zeros, which programs read differently; write 10.0.0.1."},
        {"256.0.0.1", "'256.0.0.1' is not an IPv4 address: four numbers from 0 to 255 separated by dots."},
        {"1.2.3", "'1.2.3' is not an IPv4 address: four numbers from 0 to 255 separated by dots."},
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
            EXPECT_EQ(MessageOf<EIdBadAddress>([this] { ftp.Connect(); }), result) << row.text;
        }
        EXPECT_EQ(result, row.result) << "'" << row.text << "'";
        EXPECT_EQ(PlayerAddressProblem(row.text), result.find('|') == std::string::npos ? result : "") << row.text;
    }
    EXPECT_TRUE(asked.empty());
}

TEST_F(FtpConnectionTest, ConnectThatNeverCompletesRunsOutOfTime)
{
    // A listener that never accepts, its queue filled by others: the next
    // handshake goes unanswered.
    RawListener listener(0);
    std::vector<int> fillers;
    for (int i = 0; i < 4; ++i) {
        fillers.push_back(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
        ::connect(fillers.back(), reinterpret_cast<const sockaddr *>(&listener.address), sizeof listener.address);
    }
    ftp.Host = listener.Address();
    ftp.ConnectTimeout = 300;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(MessageOf<EIdConnectTimeout>([this] { ftp.Connect(); }),
              "Connect timed out: no connection to " + listener.Address() + " within 0.3 s.");
    EXPECT_LT(test::MsSince(start), 2000);
    EXPECT_FALSE(ftp.IsConnected());
    for (int fd : fillers)
        ::close(fd);
}

// Once the peer has gone, writing raises (never a signal), a command first.
TEST_F(FtpConnectionTest, PeerHangingUpWhileWeSendGivesAnException)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.CloseControl();
    });
    Aim(peer, true);
    peer.Lines(); // the peer has closed by now
    EXPECT_THROW(ftp.SiteCommand("RO"), EIdConnClosedGracefully);
    const std::string block(65536, 'x');
    bool raised = false;
    for (int i = 0; i < 100 && !raised; ++i) {
        try {
            ftp.WriteBuffer(block.data(), block.size());
        } catch (const EIdException &) {
            raised = true;
        }
    }
    EXPECT_TRUE(raised);
}

TEST_F(FtpConnectionTest, BindingAnAddressInUseAndCommandsWithoutAConnectionAreRefused)
{
    TIdSimpleServer first, second;
    first.BoundIP = second.BoundIP = "127.0.0.1";
    first.BeginListen();
    second.BoundPort = first.BoundPort;
    EXPECT_EQ(MessageOf<EIdCouldNotBindSocket>([&] { second.BeginListen(); }),
              "Could not bind socket. Address and port are already in use.");
    EXPECT_EQ(MessageOf<EIdClosedSocket>([this] { ftp.SiteCommand("RW"); }), "Disconnected.");
    EXPECT_FALSE(ftp.IsConnected());
    ftp.Disconnect(); // harmless when closed
    EXPECT_FALSE(ftp.ClosedGracefully());
}

TEST(FtpErrorsTest, MessagesAndFamilyAreThoseTheUserIsShown)
{
    const std::pair<std::string, std::string> rows[] = {
        {SocketErrorText(10035), "Operation would block. "},
        {SocketErrorText(10066), "Directory not empty"},
        {SocketErrorText(10000), ""},
        {EIdSocketError(10054).what(), "Socket Error # 10054\r\nConnection reset by peer."},
        {static_cast<const EIdSilentException &>(EIdConnClosedGracefully()).what(), "Connection Closed Gracefully."},
        {static_cast<const EIdTCPConnectionError &>(EIdNoDataToRead()).what(), "No data to read."},
        {static_cast<const EIdTCPConnectionError &>(EIdNotEnoughDataInBuffer()).what(), "Not enough data in buffer."},
        {static_cast<const EIdStackError &>(EIdStackInitializationFailed()).what(), "Winsock Initialization Error."},
        {static_cast<const EIdStackError &>(EIdStackSetSizeExceeded()).what(), "Set Size Exceeded."},
        {EIdInvalidSocket().what(), "Cannot allocate socket."},
        {static_cast<const std::exception &>(EIdReadTimeout()).what(), "Read Timeout"},
    };
    for (const auto &[shown, expected] : rows)
        EXPECT_EQ(shown, expected);
}

TEST(FtpStackTest, NetworkObjectsShareOneStackForTheirLifetime)
{
    const int before = TIdComponent::InstanceCount();
    {
        TIdFTP ftp;
        TIdSimpleServer server;
        EXPECT_EQ(TIdComponent::InstanceCount(), before + 2);
    }
    EXPECT_EQ(TIdComponent::InstanceCount(), before);
    std::vector<TIdStackSocketHandle> tooMany(65, kIdInvalidSocket);
    TIdFTP keepsTheStack;
    EXPECT_THROW(GStack().Select(tooMany, 0), EIdStackSetSizeExceeded);
}

} // namespace
} // namespace hoofer
