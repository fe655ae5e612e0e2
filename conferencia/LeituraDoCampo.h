#pragma once

#include <string>
#include <string_view>

#include "leiaute/Leiaute.h"

namespace zorla {

// A field of an exported line read as a person reads it: an amount or a rate with the Brazilian separators
// (1.234,56; 18,00), a date as dd/mm/yyyy, a text without the blanks that fill it, control characters by their
// names; what does not read as its rule says, as it is written. UTF-8.
std::string CampoParaPessoa(const CampoDoLeiaute& campo, std::string_view texto);
// The same as a spreadsheet in Portuguese takes it: amounts as 1234,56, dates as dd/mm/yyyy.
std::string CampoParaPlanilha(const CampoDoLeiaute& campo, std::string_view texto);

}  // namespace zorla
