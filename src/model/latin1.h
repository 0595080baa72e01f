#pragma once

#include <optional>
#include <string>

namespace hoofer {

/// Move names are raw bytes. Reading each byte as the Latin-1 character of
/// the same number gives text that looks right for ordinary names and maps
/// every byte to exactly one character and back, so no byte is ever lost.

/// Each byte as one Latin-1 character, encoded in UTF-8.
std::string Latin1ToUtf8(const std::string &bytes);

/// The bytes of a UTF-8 text made only of characters U+0000..U+00FF; for any
/// other text, nothing, with offending set to the first character that does
/// not fit (or to -1 for text that is not valid UTF-8).
std::optional<std::string> Utf8ToLatin1(const std::string &text, long &offending);

} // namespace hoofer
