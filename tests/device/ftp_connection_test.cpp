// Opening and losing connections: refused, unknown and unreachable hosts,
// "name:port", time limits, hang-ups while sending, and the error texts.
#include "device/id_ftp.h"
#include "device/id_simple_server.h"
#include "scripted_peer.h"

#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace hoofer {
namespace {

using test::PeerSession;
using test::ScriptedPeer;

/// A plain listening socket on 127.0.0.1 that the test controls itself.
class RawListener {
public:
    explicit RawListener(int backlog)
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof a;
        ::bind(m_fd, reinterpret_cast<sockaddr *>(&a), sizeof a);
        if (backlog >= 0)
            ::listen(m_fd, backlog);
        ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&a), &length);
        m_port = ntohs(a.sin_port);
    }
    ~RawListener() { ::close(m_fd); }
    int Port() const { return m_port; }
    int Fd() const { return m_fd; }

private:
    int m_fd;
    int m_port;
};

class FtpConnectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ftp.ReadTimeout = 2000;
        ftp.ConnectTimeout = 2000;
    }
    TIdFTP ftp;
};

TEST_F(FtpConnectionTest, RefusedConnectionGivesSocketError10061)
{
    int port;
    {
        RawListener closed(-1); // bound, never listening: connections are refused
        port = closed.Port();
        ftp.Host = "127.0.0.1:" + std::to_string(port);
        try {
            ftp.Connect();
            FAIL() << "connect succeeded";
        } catch (const EIdSocketError &e) {
            EXPECT_EQ(e.LastError(), 10061);
            EXPECT_STREQ(e.what(), "Socket Error # 10061\r\nConnection refused.");
        }
    }
    EXPECT_FALSE(ftp.IsConnected());
}

TEST_F(FtpConnectionTest, UnknownHostGivesError11001WithNoText)
{
    ftp.Host = "no-such-player.invalid";
    try {
        ftp.Connect();
        FAIL() << "connect succeeded";
    } catch (const EIdSocketError &e) {
        EXPECT_EQ(e.LastError(), 11001);
        EXPECT_STREQ(e.what(), "Socket Error # 11001\r\n");
    }
}

TEST_F(FtpConnectionTest, HostNameCarriesAnOptionalPort)
{
    auto target = [this](const std::string &host) {
        ftp.Host = host;
        std::string name;
        int port = 0;
        ftp.TargetOf(name, port);
        return name + "|" + std::to_string(port);
    };
    EXPECT_EQ(ftp.Port, 21);
    EXPECT_EQ(target("player"), "player|21");
    EXPECT_EQ(target("10.0.0.5:2121"), "10.0.0.5|2121");
    EXPECT_EQ(target("player:21"), "player|21");
    EXPECT_EQ(target(" player "), " player |21"); // blanks are the user's business
    EXPECT_EQ(target("player:ftp"), "player:ftp|21");
    EXPECT_EQ(target("player:70000"), "player:70000|21");
    EXPECT_EQ(target("player:"), "player:|21");
}

TEST_F(FtpConnectionTest, LocalhostAndDottedAddressesNeedNoLookup)
{
    EXPECT_TRUE(TIdStack::IsIP("127.0.0.1"));
    EXPECT_TRUE(TIdStack::IsIP("255.255.255.0"));
    EXPECT_FALSE(TIdStack::IsIP("256.0.0.1"));
    EXPECT_FALSE(TIdStack::IsIP("1.2.3"));
    EXPECT_FALSE(TIdStack::IsIP("1.2.3.4.5"));
    EXPECT_FALSE(TIdStack::IsIP("1..3.4"));
    EXPECT_FALSE(TIdStack::IsIP(" 1.2.3.4"));
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.WaitForClose();
    });
    ftp.Host = "LocalHost:" + std::to_string(peer.Port());
    ftp.Connect();
    EXPECT_EQ(ftp.IOHandler()->Binding().PeerIP(), "127.0.0.1");
    ftp.Disconnect();
}

TEST_F(FtpConnectionTest, ConnectThatNeverCompletesRunsOutOfTime)
{
    // A listener that never accepts, its queue filled by others: the next
    // handshake goes unanswered.
    RawListener listener(0);
    std::vector<int> fillers;
    for (int i = 0; i < 4; ++i) {
        int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(static_cast<uint16_t>(listener.Port()));
        ::connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a);
        fillers.push_back(fd);
    }
    ftp.Host = "127.0.0.1:" + std::to_string(listener.Port());
    ftp.ConnectTimeout = 300;
    const auto start = std::chrono::steady_clock::now();
    try {
        ftp.Connect();
        FAIL() << "connect succeeded";
    } catch (const EIdConnectTimeout &e) {
        EXPECT_STREQ(e.what(), "Connect timed out.");
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_FALSE(ftp.IsConnected());
    for (int fd : fillers)
        ::close(fd);
}

TEST_F(FtpConnectionTest, PeerHangingUpWhileWeSendGivesAnExceptionNotASignal)
{
    ScriptedPeer peer([](PeerSession &s) {
        s.Login();
        s.CloseControl();
    });
    ftp.Host = peer.Address();
    ftp.Connect();
    peer.Lines(); // the peer has closed by now
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

TEST_F(FtpConnectionTest, BindingAnAddressInUseRaisesCouldNotBind)
{
    TIdSimpleServer first;
    first.BoundIP = "127.0.0.1";
    first.BeginListen();
    TIdSimpleServer second;
    second.BoundIP = "127.0.0.1";
    second.BoundPort = first.BoundPort;
    try {
        second.BeginListen();
        FAIL() << "second bind succeeded";
    } catch (const EIdCouldNotBindSocket &e) {
        EXPECT_STREQ(e.what(), "Could not bind socket. Address and port are already in use.");
    }
}

TEST_F(FtpConnectionTest, CommandsWithoutAConnectionAreRefused)
{
    try {
        ftp.SiteCommand("RW");
        FAIL() << "no exception";
    } catch (const EIdClosedSocket &e) {
        EXPECT_STREQ(e.what(), "Disconnected.");
    }
    EXPECT_FALSE(ftp.IsConnected());
    ftp.Disconnect(); // harmless when closed
    EXPECT_FALSE(ftp.ClosedGracefully());
}

TEST(FtpErrorsTest, MessagesAndFamilyAreThoseTheUserIsShown)
{
    EXPECT_EQ(SocketErrorText(10035), "Operation would block. ");
    EXPECT_EQ(SocketErrorText(10066), "Directory not empty");
    EXPECT_EQ(SocketErrorText(10000), "");
    EXPECT_STREQ(EIdSocketError(10054).what(), "Socket Error # 10054\r\nConnection reset by peer.");
    const EIdSilentException &silent = EIdConnClosedGracefully();
    EXPECT_STREQ(silent.what(), "Connection Closed Gracefully.");
    const EIdTCPConnectionError &noData = EIdNoDataToRead();
    EXPECT_STREQ(noData.what(), "No data to read.");
    const EIdTCPConnectionError &notEnough = EIdNotEnoughDataInBuffer();
    EXPECT_STREQ(notEnough.what(), "Not enough data in buffer.");
    const EIdStackError &init = EIdStackInitializationFailed();
    EXPECT_STREQ(init.what(), "Winsock Initialization Error.");
    const EIdStackError &setSize = EIdStackSetSizeExceeded();
    EXPECT_STREQ(setSize.what(), "Set Size Exceeded.");
    EXPECT_STREQ(EIdInvalidSocket().what(), "Cannot allocate socket.");
    const std::exception &root = EIdReadTimeout();
    EXPECT_STREQ(root.what(), "Read Timeout");
}

TEST(FtpStackTest, NetworkObjectsShareOneStackForTheirLifetime)
{
    const int before = TIdComponent::InstanceCount();
    {
        TIdFTP ftp;
        EXPECT_EQ(TIdComponent::InstanceCount(), before + 1);
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
