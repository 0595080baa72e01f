#include "latin1.h"

namespace hoofer {

std::string Latin1ToUtf8(const std::string &bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return out;
}

std::optional<std::string> Utf8ToLatin1(const std::string &text, long &offending)
{
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        int length = 0;
        long code = 0;
        if (b < 0x80) {
            length = 1;
            code = b;
        } else if ((b & 0xE0) == 0xC0) {
            length = 2;
            code = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            length = 3;
            code = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            length = 4;
            code = b & 0x07;
        } else {
            offending = -1;
            return std::nullopt;
        }
        if (i + length > text.size()) {
            offending = -1;
            return std::nullopt;
        }
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                offending = -1;
                return std::nullopt;
            }
            code = (code << 6) | (next & 0x3F);
        }
        if (code > 0xFF) {
            offending = code;
            return std::nullopt;
        }
        if (length > 2 || (length == 2 && code < 0x80)) { // overlong forms
            offending = -1;
            return std::nullopt;
        }
        out += static_cast<char>(code);
        i += length;
    }
    return out;
}

} // namespace hoofer
