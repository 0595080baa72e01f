#include "id_exceptions.h"

#include <cstdio>

namespace hoofer {

namespace {
struct ErrorText {
    int number;
    const char *text;
};

constexpr ErrorText kSocketErrors[] = {
    {10004, "Interrupted system call."},
    {10009, "Bad file number."},
    {10013, "Access denied."},
    {10014, "Bad address."},
    {10022, "Invalid argument."},
    {10024, "Too many open files."},
    {10035, "Operation would block. "},
    {10036, "Operation now in progress."},
    {10037, "Operation already in progress."},
    {10038, "Socket operation on non-socket."},
    {10039, "Destination address required."},
    {10040, "Message too long."},
    {10041, "Protocol wrong type for socket."},
    {10042, "Bad protocol option."},
    {10043, "Protocol not supported."},
    {10044, "Socket type not supported."},
    {10045, "Operation not supported on socket."},
    {10046, "Protocol family not supported."},
    {10047, "Address family not supported by protocol family."},
    {10048, "Address already in use."},
    {10049, "Cannot assign requested address."},
    {10050, "Network is down."},
    {10051, "Network is unreachable."},
    {10052, "Net dropped connection or reset."},
    {10053, "Software caused connection abort."},
    {10054, "Connection reset by peer."},
    {10055, "No buffer space available."},
    {10056, "Socket is already connected."},
    {10057, "Socket is not connected."},
    {10058, "Cannot send or receive after socket is closed."},
    {10059, "Too many references, cannot splice."},
    {10060, "Connection timed out."},
    {10061, "Connection refused."},
    {10062, "Too many levels of symbolic links."},
    {10063, "File name too long."},
    {10064, "Host is down."},
    {10065, "No route to host."},
    {10066, "Directory not empty"},
};

std::string SocketErrorMessage(int error)
{
    char number[32];
    std::snprintf(number, sizeof number, "%d", error);
    return std::string("Socket Error # ") + number + "\r\n" + SocketErrorText(error);
}
} // namespace

std::string SocketErrorText(int error)
{
    for (const ErrorText &e : kSocketErrors)
        if (e.number == error)
            return e.text;
    return {};
}

EIdSocketError::EIdSocketError(int error) : EIdException(SocketErrorMessage(error)), m_error(error) {}

} // namespace hoofer
