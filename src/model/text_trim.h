#pragma once

#include <string_view>

namespace hoofer {

/// Space and every control character (codes 0 to 32).
bool IsSpaceOrControl(char c);

/// The text without the blanks at either end; isBlank says what a blank is.
std::string_view Trim(std::string_view text, bool (*isBlank)(char) = IsSpaceOrControl);

} // namespace hoofer
