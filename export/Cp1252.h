#pragma once

#include <string>
#include <string_view>

namespace zorla {

// Text from the database and in the files is code page 1252; what is shown is UTF-8.
std::string cp1252ToUtf8(std::string_view bytes);
// Characters that code page 1252 lacks become "?".
std::string utf8ToCp1252(std::string_view text);

}  // namespace zorla
