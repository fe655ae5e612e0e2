#pragma once

#include <string>
#include <string_view>

namespace zorla {

// Trims characters of code 32 or less at both ends (blanks and control characters).
std::string_view trimControl(std::string_view text);
std::string upperAscii(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace zorla
