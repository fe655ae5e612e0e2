#pragma once

#include <string>
#include <string_view>

namespace zorla {

// Trims characters of code 32 or less at both ends (blanks and control characters).
std::string_view trimControl(std::string_view text);
std::string upperAscii(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);
// The characters of UTF-8 text, as a terminal lines them up; not its bytes.
std::size_t LarguraNoTerminal(std::string_view utf8);

}  // namespace zorla
