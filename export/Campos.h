#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/Value.h"

namespace zorla {

// Appends the fixed-width fields of one record to a line in the making: no field makes a string of its own.
class Campos {
public:
    explicit Campos(std::string& linha) : m_linha(linha) {}

    void constante(std::string_view text) { m_linha.append(text); }
    void brancos(std::size_t n) { m_linha.append(n, ' '); }
    void zeros(std::size_t n) { m_linha.append(n, '0'); }
    // Left-aligned, filled with blanks, cut to the width; a control character inside is written as a blank.
    void texto(std::string_view text, std::size_t width);
    // The amount's decimal digits right-aligned in the width, filled on the left; digits that do not fit refuse the
    // record (ValorForaDoLeiaute naming the document, the field and the value), so no other number is ever written.
    void numero(Decimal value, std::size_t width, char fill, std::string_view documento, std::string_view campo);
    // Date parts; a missing date gives blanks of the same length.
    void anoMesDia(const std::optional<Date>& date);   // yyyymmdd
    void diaMesAno(const std::optional<Date>& date);   // ddmmyyyy
    void diaMesAno2(const std::optional<Date>& date);  // ddmmyy

private:
    void digitos(unsigned value, int n);

    std::string& m_linha;
};

}  // namespace zorla
