#pragma once

#include <string>
#include <string_view>

namespace hoofer {

/// Text from outside (file names, server replies, JSON keys and values, move
/// names) made safe to print: UTF-8 text stays as it is, but every control
/// character (C0, DEL, C1) and every byte that is not part of valid UTF-8 is
/// shown as \xNN, so no escape sequence, carriage return or stray byte
/// reaches the terminal. A lone \xE9 reads as the byte it is, the way a
/// shell's $'...' writes it.
std::string TerminalText(std::string_view text);

} // namespace hoofer
