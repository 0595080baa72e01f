#pragma once
// The socket errors as the FTP client reports them: each native error number
// with the Windows Sockets number the messages are keyed on and its text, in
// one table. Codes the client's own logic tests for are named from it.

#include <cerrno>
#include <string>

namespace hoofer {

struct SocketErrorRow {
    int native;        ///< errno
    int code;          ///< the Windows Sockets number
    const char *text;  ///< nullptr where an earlier row with the same code has it
};

inline constexpr SocketErrorRow kSocketErrors[] = {
    {EINTR, 10004, "Interrupted system call."},
    {EBADF, 10009, "Bad file number."},
    {EACCES, 10013, "Access denied."},
    {EPERM, 10013, nullptr},
    {EFAULT, 10014, "Bad address."},
    {EINVAL, 10022, "Invalid argument."},
    {EMFILE, 10024, "Too many open files."},
    {ENFILE, 10024, nullptr},
    {EWOULDBLOCK, 10035, "Operation would block. "},
    {EINPROGRESS, 10036, "Operation now in progress."},
    {EALREADY, 10037, "Operation already in progress."},
    {ENOTSOCK, 10038, "Socket operation on non-socket."},
    {EDESTADDRREQ, 10039, "Destination address required."},
    {EMSGSIZE, 10040, "Message too long."},
    {EPROTOTYPE, 10041, "Protocol wrong type for socket."},
    {ENOPROTOOPT, 10042, "Bad protocol option."},
    {EPROTONOSUPPORT, 10043, "Protocol not supported."},
    {ESOCKTNOSUPPORT, 10044, "Socket type not supported."},
    {EOPNOTSUPP, 10045, "Operation not supported on socket."},
    {EPFNOSUPPORT, 10046, "Protocol family not supported."},
    {EAFNOSUPPORT, 10047, "Address family not supported by protocol family."},
    {EADDRINUSE, 10048, "Address already in use."},
    {EADDRNOTAVAIL, 10049, "Cannot assign requested address."},
    {ENETDOWN, 10050, "Network is down."},
    {ENETUNREACH, 10051, "Network is unreachable."},
    {ENETRESET, 10052, "Net dropped connection or reset."},
    {ECONNABORTED, 10053, "Software caused connection abort."},
    {ECONNRESET, 10054, "Connection reset by peer."},
    {EPIPE, 10054, nullptr},
    {ENOBUFS, 10055, "No buffer space available."},
    {ENOMEM, 10055, nullptr},
    {EISCONN, 10056, "Socket is already connected."},
    {ENOTCONN, 10057, "Socket is not connected."},
    {ESHUTDOWN, 10058, "Cannot send or receive after socket is closed."},
    {ETOOMANYREFS, 10059, "Too many references, cannot splice."},
    {ETIMEDOUT, 10060, "Connection timed out."},
    {ECONNREFUSED, 10061, "Connection refused."},
    {ELOOP, 10062, "Too many levels of symbolic links."},
    {ENAMETOOLONG, 10063, "File name too long."},
    {EHOSTDOWN, 10064, "Host is down."},
    {EHOSTUNREACH, 10065, "No route to host."},
    {ENOTEMPTY, 10066, "Directory not empty"},
};

/// The Windows Sockets number of a native error; a number the table does not
/// know stays as it is.
constexpr int SocketErrorCode(int native)
{
    for (const SocketErrorRow &row : kSocketErrors)
        if (row.native == native)
            return row.code;
    return native;
}

/// The text of a Windows Sockets number; empty for numbers the table does not know.
std::string SocketErrorText(int code);

inline constexpr int kSocketWouldBlock = SocketErrorCode(EWOULDBLOCK);
inline constexpr int kSocketAddressInUse = SocketErrorCode(EADDRINUSE);
inline constexpr int kSocketConnectionAborted = SocketErrorCode(ECONNABORTED);
inline constexpr int kSocketConnectionReset = SocketErrorCode(ECONNRESET);
inline constexpr int kSocketShutDown = SocketErrorCode(ESHUTDOWN);
inline constexpr int kSocketTimedOut = SocketErrorCode(ETIMEDOUT);
/// A name the resolver could not find: no native error number stands for it.
inline constexpr int kSocketHostNotFound = 11001;

} // namespace hoofer
