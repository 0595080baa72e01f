#include "socket_errors.h"

namespace hoofer {

std::string SocketErrorText(int code)
{
    for (const SocketErrorRow &row : kSocketErrors)
        if (row.code == code && row.text)
            return row.text;
    return {};
}

} // namespace hoofer
