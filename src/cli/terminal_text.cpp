#include "terminal_text.h"

#include <cstdio>

namespace hoofer {

namespace {

/// The length of the valid UTF-8 sequence at the start of text and its code
/// point, or 0 when the first byte does not start one (overlong forms,
/// surrogates and values past U+10FFFF are not valid).
size_t Utf8Sequence(std::string_view text, char32_t &code)
{
    const auto b = static_cast<unsigned char>(text[0]);
    size_t length = 0;
    char32_t min = 0;
    if (b < 0x80) {
        code = b;
        return 1;
    } else if ((b & 0xE0) == 0xC0) {
        length = 2, min = 0x80, code = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
        length = 3, min = 0x800, code = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
        length = 4, min = 0x10000, code = b & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (next & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

void AppendEscape(std::string &out, unsigned value)
{
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\x%02X", value);
    out += escape;
}

} // namespace

std::string TerminalText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        char32_t code = 0;
        const size_t length = Utf8Sequence(text, code);
        if (length == 0) {
            AppendEscape(out, static_cast<unsigned char>(text[0]));
            text.remove_prefix(1);
            continue;
        }
        if (code < 0x20 || (code >= 0x7F && code <= 0x9F))
            AppendEscape(out, static_cast<unsigned>(code));
        else
            out.append(text.substr(0, length));
        text.remove_prefix(length);
    }
    return out;
}

} // namespace hoofer
