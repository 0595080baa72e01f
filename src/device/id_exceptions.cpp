#include "id_exceptions.h"

#include "socket_errors.h"

#include <cstdio>

namespace hoofer {

namespace {
std::string SocketErrorMessage(int error)
{
    char number[32];
    std::snprintf(number, sizeof number, "%d", error);
    return std::string("Socket Error # ") + number + "\r\n" + SocketErrorText(error);
}
} // namespace

EIdSocketError::EIdSocketError(int error) : EIdException(SocketErrorMessage(error)), m_error(error) {}

} // namespace hoofer
