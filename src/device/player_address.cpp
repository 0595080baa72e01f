#include "player_address.h"

#include "id_exceptions.h"
#include "id_ftp.h"

#include <algorithm>

namespace hoofer {

namespace {

bool AllDigits(const std::string &text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

/// Text of digits and dots only is meant as an address, and must be one.
void CheckDottedAddress(const std::string &host)
{
    if (host.find_first_not_of("0123456789.") != std::string::npos)
        return;
    std::string parts[5];
    int count = 0;
    for (char c : host + ".") {
        if (c != '.') {
            parts[std::min(count, 4)] += c;
        } else if (++count > 4) {
            break;
        }
    }
    const bool shaped = count == 4 && std::all_of(std::begin(parts), std::begin(parts) + 4, [](const std::string &p) {
                            return AllDigits(p) && p.size() <= 3 && std::stoi(p) <= 255;
                        });
    if (!shaped)
        throw EIdBadAddress("'" + host + "' is not an IPv4 address: four numbers from 0 to 255 separated by dots.");
    std::string plain;
    bool zeros = false;
    for (int i = 0; i < 4; ++i) {
        zeros = zeros || (parts[i].size() > 1 && parts[i][0] == '0');
        plain += (i ? "." : "") + std::to_string(std::stoi(parts[i]));
    }
    if (zeros)
        throw EIdBadAddress("'" + host + "' has numbers with leading zeros, which programs read differently; write " +
                            plain + ".");
}

} // namespace

PlayerAddress ParsePlayerAddress(const std::string &text, int defaultPort)
{
    if (text.empty())
        throw EIdBadAddress("The player's network name is empty.");
    PlayerAddress address{text, defaultPort};
    const std::size_t colon = text.rfind(':');
    if (colon != std::string::npos) {
        const std::string port = text.substr(colon + 1);
        const bool number = AllDigits(port) && port.size() <= 5 && std::stoi(port) >= 1 && std::stoi(port) <= 65535;
        if (!number)
            throw EIdBadAddress("Bad port '" + port + "' in '" + text + "': a port is a number from 1 to 65535.");
        address.host = text.substr(0, colon);
        address.port = std::stoi(port);
        if (address.host.empty())
            throw EIdBadAddress("No network name before the port in '" + text + "'.");
    }
    CheckDottedAddress(address.host);
    return address;
}

std::string PlayerAddressProblem(const std::string &text)
{
    try {
        ParsePlayerAddress(text, kFtpPort);
    } catch (const EIdBadAddress &e) {
        return e.what();
    }
    return {};
}

} // namespace hoofer
