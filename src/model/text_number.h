#pragma once

#include <optional>
#include <string>

namespace hoofer {

/// Reads an integer the way the editor's number fields do: leading blanks, an
/// optional sign, then decimal digits or hexadecimal after "$" or "0x"/"0X".
/// Anything else (trailing blanks included) or a value outside 32 bits gives
/// no value.
std::optional<int> ParseInteger(const std::string &text);

} // namespace hoofer
