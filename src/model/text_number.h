#pragma once

#include <optional>
#include <string_view>

namespace hoofer {

/// Which prefixes introduce a hexadecimal number.
enum class HexPrefix {
    DollarOr0x,  ///< "$" or "0x"/"0X": the editor's number fields
    Only0x,      ///< "0x"/"0X": the settings file
};

/// Reads an integer: leading blanks, an optional sign, then decimal digits or
/// hexadecimal after a prefix. Anything else (trailing blanks included) or a
/// value outside 32 bits gives no value.
std::optional<int> ParseInteger(std::string_view text, HexPrefix hex = HexPrefix::DollarOr0x);

} // namespace hoofer
