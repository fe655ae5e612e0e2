#include "export/Campos.h"

#include "base/Cp1252.h"
#include "base/Formatacao.h"
#include "export/ValorForaDoLeiaute.h"
#include "leiaute/Leiaute.h"

namespace zorla {

void Campos::texto(std::string_view text, std::size_t width) {
    const std::size_t n = std::min(text.size(), width);
    for (std::size_t i = 0; i < n; ++i) m_linha.push_back(CaractereDeControle(text[i]) ? ' ' : text[i]);
    m_linha.append(width - n, ' ');
}

void Campos::numero(Decimal value, std::size_t width, char fill, std::string_view documento, std::string_view campo) {
    // Whole hundredths, at least three digits, a minus sign in front: 0 gives 000, -1234.5 gives -123450.
    char buffer[24];
    char* fim = buffer + sizeof buffer;
    char* p = fim;
    const std::int64_t c = value.cents;
    std::uint64_t a = c < 0 ? static_cast<std::uint64_t>(-(c + 1)) + 1 : static_cast<std::uint64_t>(c);
    do {
        *--p = static_cast<char>('0' + a % 10);
        a /= 10;
    } while (a > 0 || fim - p < 3);
    if (c < 0) *--p = '-';
    const auto n = static_cast<std::size_t>(fim - p);
    if (DigitosDoValor(value.cents) > width) {
        std::string shown(p, n);
        shown.insert(shown.size() - 2, ",");
        throw ValorForaDoLeiaute("Documento " + cp1252ToUtf8(documento) + ": o valor " + shown + " do campo " +
                                 std::string(campo) + " não cabe em " + std::to_string(width) + " posições.");
    }
    m_linha.append(width - n, fill);
    m_linha.append(p, n);
}

void Campos::digitos(unsigned value, int n) {
    char d[4];
    for (int i = n - 1; i >= 0; --i, value /= 10) d[i] = static_cast<char>('0' + value % 10);
    m_linha.append(d, static_cast<std::size_t>(n));
}

void Campos::anoMesDia(const std::optional<Date>& date) {
    if (!date) return brancos(8);
    digitos(static_cast<unsigned>(static_cast<int>(date->year())), 4);
    digitos(static_cast<unsigned>(date->month()), 2);
    digitos(static_cast<unsigned>(date->day()), 2);
}

void Campos::diaMesAno(const std::optional<Date>& date) {
    if (!date) return brancos(8);
    digitos(static_cast<unsigned>(date->day()), 2);
    digitos(static_cast<unsigned>(date->month()), 2);
    digitos(static_cast<unsigned>(static_cast<int>(date->year())), 4);
}

void Campos::diaMesAno2(const std::optional<Date>& date) {
    if (!date) return brancos(6);
    digitos(static_cast<unsigned>(date->day()), 2);
    digitos(static_cast<unsigned>(date->month()), 2);
    digitos(static_cast<unsigned>(static_cast<int>(date->year())) % 100, 2);
}

}  // namespace zorla
