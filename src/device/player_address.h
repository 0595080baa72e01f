#pragma once
// The player's address as the user writes it: a network name or dotted IPv4
// address, optionally followed by ":PORT". Checked before any network use,
// by the command-line tool and the window alike.

#include <string>

namespace hoofer {

struct PlayerAddress {
    std::string host;
    int port = 0;
};

/// Splits "name[:port]" (defaultPort without a port). Raises EIdBadAddress
/// naming the problem: an empty text or name, a port that is not a number
/// from 1 to 65535, a dotted address that is not four numbers 0..255 or
/// whose numbers carry leading zeros (010 reads as 8 to some programs and
/// as 10 to others).
PlayerAddress ParsePlayerAddress(const std::string &text, int defaultPort);

/// What is wrong with text as a player's address; "" when nothing is.
std::string PlayerAddressProblem(const std::string &text);

} // namespace hoofer
