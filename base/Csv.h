#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zorla {

// One line of a CSV file as a spreadsheet in Portuguese opens it: fields separated by ";", quoted when they hold a
// ";", a quote or a line break, code page 1252 (characters it lacks become "?"), ended by CR LF. Fields are UTF-8.
std::string LinhaCsv(std::initializer_list<std::string_view> campos);
std::string LinhaCsv(const std::vector<std::string>& campos);
std::string LinhaCsv(std::span<const std::string_view> campos);

}  // namespace zorla
