#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/Value.h"

namespace zorla {

// Numbers right-aligned in a fixed width, refused when their digits do not fit, so no other number is written.
// The error names the document, the field and the value.
std::string CampoNumerico(Decimal value, std::uint8_t width, char fill, std::string_view documento,
                          std::string_view campo);

// Date parts taken from the short date text dd/mm/yyyy; a missing date gives blanks of the same length.
std::string DataAnoMesDia(const std::optional<Date>& date);  // yyyymmdd
std::string DataDiaMesAno(const std::optional<Date>& date);  // ddmmyyyy
std::string DataDDMMAA(const std::optional<Date>& date);     // ddmmyy

}  // namespace zorla
