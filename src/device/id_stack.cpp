#include "id_stack.h"

#include "id_exceptions.h"

#include <cctype>

namespace hoofer {

namespace {
TIdStack::Resolver g_resolver;
}

TIdStack::Resolver TIdStack::SetResolver(Resolver resolver)
{
    std::swap(g_resolver, resolver);
    return resolver;
}

int TIdStack::CheckForSocketError(long result) const
{
    if (result == -1)
        RaiseSocketError(LastError());
    return static_cast<int>(result);
}

void TIdStack::RaiseSocketError(int error) const { throw EIdSocketError(error); }

bool TIdStack::IsIP(const std::string &text)
{
    int parts = 0;
    std::size_t i = 0;
    while (true) {
        std::size_t start = i;
        int value = 0;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            value = value * 10 + (text[i] - '0');
            if (value > 255)
                return false;
            ++i;
        }
        if (i == start || i - start > 3)
            return false;
        ++parts;
        if (i == text.size())
            return parts == 4;
        if (text[i] != '.' || parts == 4)
            return false;
        ++i;
    }
}

std::string TIdStack::ResolveAddress(const std::string &host)
{
    std::string upper;
    for (char c : host)
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper == "LOCALHOST")
        return "127.0.0.1";
    if (IsIP(host))
        return host;
    return g_resolver ? g_resolver(host) : ResolveHost(host);
}

} // namespace hoofer
