#pragma once
// The exceptions of the network layer. Their messages are what the user sees
// in the error report, so each class carries one fixed text (or, for a refused
// command, the server's own reply line).

#include <cstdint>
#include <stdexcept>
#include <string>

namespace hoofer {

/// Root of every network failure.
class EIdException : public std::runtime_error {
public:
    explicit EIdException(const std::string &message) : std::runtime_error(message) {}
};

/// Failures that need no report of their own (the peer simply went away).
class EIdSilentException : public EIdException {
public:
    using EIdException::EIdException;
};

class EIdSocketHandleError : public EIdException {
public:
    using EIdException::EIdException;
};

class EIdTCPConnectionError : public EIdException {
public:
    using EIdException::EIdException;
};

class EIdStackError : public EIdException {
public:
    using EIdException::EIdException;
};

/// The server answered with a code the command does not accept; the message
/// is the reply's last line, trimmed.
class EIdProtocolReplyError : public EIdException {
public:
    EIdProtocolReplyError(int16_t code, const std::string &line) : EIdException(line), m_code(code) {}
    int16_t ReplyErrorCode() const { return m_code; }

private:
    int16_t m_code;
};

/// A socket operation failed; carries the Windows Sockets error number.
class EIdSocketError : public EIdException {
public:
    explicit EIdSocketError(int error);
    int LastError() const { return m_error; }

private:
    int m_error;
};

class EIdConnClosedGracefully : public EIdSilentException {
public:
    EIdConnClosedGracefully() : EIdSilentException("Connection Closed Gracefully.") {}
};

class EIdReadTimeout : public EIdException {
public:
    /// "Read Timeout", or the text saying which wait ran out on which host.
    explicit EIdReadTimeout(const std::string &message = "Read Timeout") : EIdException(message) {}
};

class EIdAlreadyConnected : public EIdException {
public:
    EIdAlreadyConnected() : EIdException("Already connected.") {}
};

class EIdClosedSocket : public EIdException {
public:
    EIdClosedSocket() : EIdException("Disconnected.") {}
};

class EIdInvalidSocket : public EIdException {
public:
    EIdInvalidSocket() : EIdException("Cannot allocate socket.") {}
};

class EIdCouldNotBindSocket : public EIdSocketHandleError {
public:
    EIdCouldNotBindSocket() : EIdSocketHandleError("Could not bind socket. Address and port are already in use.") {}
};

class EIdNoDataToRead : public EIdTCPConnectionError {
public:
    EIdNoDataToRead() : EIdTCPConnectionError("No data to read.") {}
};

/// The peer sent a line or a reply longer than the connection takes: it is
/// not speaking the protocol, and what follows cannot be trusted.
class EIdReplyTooLong : public EIdTCPConnectionError {
public:
    using EIdTCPConnectionError::EIdTCPConnectionError;
};

class EIdStackInitializationFailed : public EIdStackError {
public:
    EIdStackInitializationFailed() : EIdStackError("Winsock Initialization Error.") {}
};

class EIdStackSetSizeExceeded : public EIdStackError {
public:
    EIdStackSetSizeExceeded() : EIdStackError("Set Size Exceeded.") {}
};

class EIdConnectTimeout : public EIdException {
public:
    explicit EIdConnectTimeout(const std::string &message = "Connect timed out.") : EIdException(message) {}
};

/// The server did not open the data connection of a transfer in time.
class EIdAcceptTimeout : public EIdException {
public:
    explicit EIdAcceptTimeout(const std::string &message = "The player did not open the data connection in time.")
        : EIdException(message)
    {
    }
};

/// A host text that cannot name a player: empty, a bad port, an address
/// written ambiguously. Raised before any network use.
class EIdBadAddress : public EIdException {
public:
    using EIdException::EIdException;
};

/// A retrieved file larger than the client takes; the transfer was stopped.
class EIdTransferTooLarge : public EIdTCPConnectionError {
public:
    using EIdTCPConnectionError::EIdTCPConnectionError;
};

} // namespace hoofer
