// Opening connections: host texts, unknown and unreachable hosts, addresses
// in use, and the error texts. No name is ever looked up by the system's
// resolver: a stand-in answers.
#include "device/player_address.h"
#include "device_test.h"

#include <sys/socket.h>
#include <unistd.h>

namespace hoofer {
namespace {

using test::PeerSession;
using test::ScriptedPeer;
using ::testing::ThrowsMessage;

/// Host names as this test's resolver knows them: "player" is 127.0.0.1,
/// nothing else exists. Every name asked for is recorded.
class FtpConnectionTest : public test::FtpTest {
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
// then names are looked up, but localhost and dotted addresses are not.
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
    EXPECT_TRUE(asked.empty());
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
    EXPECT_LT(test::MsSince(start), 2000);
    EXPECT_FALSE(ftp.IsConnected());
    for (int fd : fillers)
        ::close(fd);
}

} // namespace
} // namespace hoofer
