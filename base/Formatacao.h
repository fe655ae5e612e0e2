#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "base/Value.h"

namespace zorla {

// Fixed-width fields and clean-up of text, shared by the data module, the record writers and the window.
// Texts are code page 1252 bytes; lengths and widths count bytes. PadLeft/PadRight/Copies work on short text:
// at most 255 characters.

std::string Copies(char fill, std::uint8_t count);
// Text left-aligned in the width, filled on the right; a longer text keeps its first characters.
std::string PadLeft(std::string_view text, std::uint8_t width, char fill);
// Text right-aligned in the width, filled on the left; a longer text still keeps its first characters.
std::string PadRight(std::string_view text, std::uint8_t width, char fill);

std::string AjustaValor(std::string_view text);
std::string RetiraPontuacao(std::string_view text);
std::string RetiraCaracteresEspeciais(std::string_view text);
std::string InverteData(const Date& date);
Date PrimeiroDiaMes(const Date& date, bool fimDeSemana);
Date UltimoDiaMes(const Date& date, bool fimDeSemana);

// A control character (0x00–0x1F, 0x7F) or a byte that code page 1252 leaves undefined: a record writes a blank in
// its place, so it stays one line of its width whatever the database holds.
bool CaractereDeControle(char c);

// An amount as the operator reads it, "#,##0.00" with the Brazilian separators: 1.234,50.
std::string ValorFormatado(Decimal value);
// An amount as a spreadsheet in Portuguese takes it: 1234,50.
std::string ValorParaPlanilha(Decimal value);

// The program's short date text, dd/mm/yyyy.
std::string DataCurta(const Date& date);
// A moment of this computer's clock as the operator reads it, in the local time: "09/12/2026 10:31".
std::string DataHoraLocal(std::time_t momento);
// A whole number as a person reads it, thousands apart: 270.000.
std::string Numero(long long n);
// A count and its noun, singular or plural: "1 registro", "270.000 registros".
std::string Quantidade(long long n, std::string_view um, std::string_view varios);
// An amount as whole hundredths without separators, at least three digits, a minus sign in front:
// 0 gives 000, 0.5 gives 050, -1234.5 gives -123450.
std::string DigitosDecimais(Decimal value);

}  // namespace zorla
