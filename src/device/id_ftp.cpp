#include "id_ftp.h"

#include <chrono>
#include <string>

namespace hoofer {

namespace {
/// Frees the data connection at the end of a transfer, failure included.
struct DataChannelRelease {
    std::unique_ptr<TIdSimpleServer> &channel;
    ~DataChannelRelease() { channel.reset(); }
};
} // namespace

TIdFTP::TIdFTP() { Port = kFtpPort; }

TIdFTP::~TIdFTP() = default;

void TIdFTP::Connect(bool autoLogin)
{
    // Connecting and logging in share one deadline.
    struct SharedDeadline {
        TIdFTP &ftp;
        ~SharedDeadline() { ftp.SetSharedDeadline(Clock::time_point::max(), {}); }
    } clear{*this};
    if (ReadTimeout > 0)
        SetSharedDeadline(Clock::now() + std::chrono::milliseconds(ReadTimeout),
                          "Read Timeout: " + Host + " did not let us connect and log in within " +
                              SecondsText(ReadTimeout) + ".");
    try {
        TIdTCPClient::Connect();
        ReadReply({220});
        Greeting = ReplyLines;
        if (autoLogin) {
            Login();
            SendTransferType();
            if (SendCommand("syst", {200, 215, 500}) == 500)
                SystemDescription = "Unknown";
            else
                SystemDescription = ReplyLines.back().size() > 3 ? ReplyLines.back().substr(3) : std::string();
        }
    } catch (...) {
        Disconnect();
        throw;
    }
}

std::string TIdFTP::ShownLine(const std::string &line) const
{
    return line.size() >= 5 && (line.compare(0, 5, "pass ") == 0 || line.compare(0, 5, "PASS ") == 0) ? "pass ****"
                                                                                                        : line;
}

void TIdFTP::Login()
{
    if (SendCommand("user " + Username, {230, 331}) == 331)
        SendCommand("pass " + Password, {230});
    LoginMessage = ReplyLines;
}

void TIdFTP::SendTransferType() { SendCommand("type I", {200}); }

void TIdFTP::ChangeDirectory(const std::string &path) { SendCommand("CWD " + path, {250}); }

void TIdFTP::SiteCommand(const std::string &argument) { SendCommand("SITE " + argument, {200}); }

void TIdFTP::Store(TByteStream &source, const std::string &name, bool append)
{
    std::string command = name.empty() ? "STOU " : append ? "APPE " : "STOR ";
    TransferData(command + name, &source, nullptr);
}

void TIdFTP::Retrieve(const std::string &name, TByteStream &destination)
{
    TransferData("RETR " + name, nullptr, &destination);
}

void TIdFTP::SendPort(const TIdSocketHandle &listener)
{
    std::string address = listener.IP();
    for (char &c : address)
        if (c == '.')
            c = ',';
    const int port = listener.Port();
    SendCommand("PORT " + address + "," + std::to_string(port / 256) + "," + std::to_string(port % 256), {200});
}

void TIdFTP::TransferData(const std::string &command, TByteStream *source, TByteStream *destination)
{
    CheckForDisconnect();
    {
        DataChannelRelease release{m_dataChannel};
        m_dataChannel = std::make_unique<TIdSimpleServer>();
        TIdSimpleServer &channel = *m_dataChannel;
        channel.SendBufferSize = SendBufferSize;
        channel.RecvBufferSize = RecvBufferSize;
        channel.ReadTimeout = ReadTimeout;
        channel.TransferTimeLimit = TransferTimeLimit;
        channel.MaxStreamSize = MaxRetrieveSize;
        channel.PeerLabel = PeerLabel;
        // Listen where the server reached us, and take the data connection
        // only from the server itself: nobody else on the network may feed
        // a file in or read one out.
        const TIdSocketHandle &control = IOHandler()->Binding();
        channel.BoundIP = control.IP();
        channel.BoundPort = 0;
        channel.AllowedPeerIP = control.PeerIP();
        channel.BeginListen();
        SendPort(channel.ListeningSocket());
        SendCommand(command, {125, 150});
        try {
            channel.Listen(DataChannelTimeout);
        } catch (const EIdAcceptTimeout &) {
            throw EIdAcceptTimeout("The player at " + PeerLabel + " did not open the data connection within " +
                                   SecondsText(DataChannelTimeout) + ".");
        }
        if (source)
            channel.WriteStream(*source);
        else
            channel.ReadStreamUntilClosed(*destination);
        channel.Disconnect();
    }
    if (ReadReply({225, 226, 250, 426}) == 426)
        ReadReply({226, 225});
}

} // namespace hoofer
