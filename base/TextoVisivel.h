#pragma once

#include <string>
#include <string_view>

namespace zorla {

// Text from the database or a file as a person may read it on a terminal or in a table: every control character
// (C0, DEL and the C1 range) shown by its name, e.g. "<ESC>", "<CR>", "<157>", so that no text can forge a line,
// move the cursor or change colours.
std::string VisivelCp1252(std::string_view cp1252);  // code page 1252 in, UTF-8 out
std::string Visivel(std::string_view texto);         // UTF-8 (or, when it is not, code page 1252) in, UTF-8 out
// A message whose lines break at CR, CR LF or LF: one LF a break, every other control character named.
std::string LinhasVisiveis(std::string_view texto);

}  // namespace zorla
