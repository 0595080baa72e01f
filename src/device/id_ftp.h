#pragma once
// The FTP client: one control connection to the server, the commands the
// editor needs, and active-mode data connections for storing and retrieving
// a file. Every operation blocks until the exchange is over and raises an
// EId... exception when it fails.

#include "byte_stream.h"
#include "id_exceptions.h"
#include "id_simple_server.h"
#include "id_tcp_client.h"

#include <memory>
#include <string>
#include <vector>

namespace hoofer {

/// The FTP control port, where an address names none.
inline constexpr int kFtpPort = 21;

/// Where the editor looks for the player until the user names one.
inline constexpr const char *kDefaultPlayerAddress = "10.0.0.5";

class TIdFTP : public TIdTCPClient {
public:
    TIdFTP();
    ~TIdFTP() override;

    std::string Username;
    /// Sent only when the server asks for it (331 to the user name).
    std::string Password;
    /// Longest wait for the server to open a data connection, in
    /// milliseconds; 0 means no limit.
    int DataChannelTimeout = 30000;
    /// Most bytes Retrieve takes: no routine comes near 2 MiB, and a server
    /// sending more is not sending one. 0 means no limit.
    std::size_t MaxRetrieveSize = 2 * 1024 * 1024;

    /// Reply lines of the greeting and of the end of the login.
    std::vector<std::string> Greeting;
    std::vector<std::string> LoginMessage;
    std::string SystemDescription;

    /// Connects, reads the greeting and logs in, all within one ReadTimeout;
    /// any failure closes the connection before the exception travels on.
    void Connect() override { Connect(true); }
    void Connect(bool autoLogin);
    /// "user", then "pass" when the server answers 331.
    void Login();
    /// "type I": every transfer is binary.
    void SendTransferType();
    /// "CWD " + path; expects 250.
    void ChangeDirectory(const std::string &path);
    /// "SITE " + argument; expects 200.
    void SiteCommand(const std::string &argument);
    /// Sends the whole source under name ("STOR"; "APPE" with append;
    /// "STOU" for an empty name).
    void Store(TByteStream &source, const std::string &name, bool append = false);
    /// Writes the remote file's bytes into destination from its position on.
    void Retrieve(const std::string &name, TByteStream &destination);
    /// Whether the control connection is open (a close by the server is
    /// noticed here, without raising).
    bool IsConnected() { return Connected(); }

    /// Announces a listening socket: "PORT h1,h2,h3,h4,p1,p2"; expects 200.
    void SendPort(const TIdSocketHandle &listener);

    /// The data connection while a transfer runs, otherwise null.
    TIdSimpleServer *DataChannel() const { return m_dataChannel.get(); }

protected:
    /// The password is never shown.
    std::string ShownLine(const std::string &line) const override;

private:
    void TransferData(const std::string &command, TByteStream *source, TByteStream *destination);

    std::unique_ptr<TIdSimpleServer> m_dataChannel;
};

} // namespace hoofer
