#include "base/Formatacao.h"

#include <cstdio>

namespace zorla {

namespace {
constexpr std::size_t kShortText = 255;

std::string_view shortText(std::string_view text) { return text.substr(0, std::min(text.size(), kShortText)); }

bool blankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string removeChars(std::string_view text, std::string_view chars) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (chars.find(c) == std::string_view::npos) out += c;
    return out;
}

// "1234567" as "1.234.567".
std::string emMilhares(std::string_view digitos) {
    std::string out;
    for (std::size_t i = 0; i < digitos.size(); ++i) {
        if (i > 0 && (digitos.size() - i) % 3 == 0) out += '.';
        out += digitos[i];
    }
    return out;
}
}  // namespace

std::string Copies(char fill, std::uint8_t count) { return std::string(count, fill); }

std::string PadLeft(std::string_view text, std::uint8_t width, char fill) {
    text = shortText(text);
    if (text.size() >= width) return std::string(text.substr(0, width));
    return std::string(text) + Copies(fill, static_cast<std::uint8_t>(width - text.size()));
}

std::string PadRight(std::string_view text, std::uint8_t width, char fill) {
    text = shortText(text);
    if (text.size() >= width) return std::string(text.substr(0, width));
    return Copies(fill, static_cast<std::uint8_t>(width - text.size())) + std::string(text);
}

std::string RetiraPontuacao(std::string_view text) {
    std::string out = removeChars(text, "-./");
    std::size_t b = 0, e = out.size();
    while (b < e && blankOrControl(out[b])) ++b;
    while (e > b && blankOrControl(out[e - 1])) --e;
    return out.substr(b, e - b);
}

std::string AjustaValor(std::string_view text) {
    std::string out = RetiraPontuacao(text);
    for (char& c : out)
        if (c == ',') c = '.';
    return out;
}

std::string RetiraCaracteresEspeciais(std::string_view text) { return removeChars(text, ".,-/\\|+*()[]{}=_;:"); }

bool CaractereDeControle(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

std::string DataCurta(const Date& date) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02u/%02u/%04d", static_cast<unsigned>(date.day()),
                  static_cast<unsigned>(date.month()), static_cast<int>(date.year()));
    return buf;
}

std::string DataHoraLocal(std::time_t momento) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &momento);
#else
    localtime_r(&momento, &local);
#endif
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d %02d:%02d", local.tm_mday, local.tm_mon + 1, local.tm_year + 1900,
                  local.tm_hour, local.tm_min);
    return buf;
}

std::string Numero(long long n) {
    // The magnitude unsigned: the most negative number has no positive of its own type.
    const unsigned long long magnitude = n < 0 ? 0ULL - static_cast<unsigned long long>(n) : n;
    return (n < 0 ? "-" : "") + emMilhares(std::to_string(magnitude));
}

std::string Quantidade(long long n, std::string_view um, std::string_view varios) {
    return Numero(n) + " " + std::string(n == 1 || n == -1 ? um : varios);
}

std::string InverteData(const Date& date) {
    std::string s = DataCurta(date);
    return s.substr(6, 4) + "/" + s.substr(3, 2) + "/" + s.substr(0, 2);
}

Date PrimeiroDiaMes(const Date& date, bool fimDeSemana) {
    using namespace std::chrono;
    Date first = date.year() / date.month() / day{1};
    if (fimDeSemana) {
        weekday wd{sys_days{first}};
        if (wd == Sunday) return date.year() / date.month() / day{2};
        if (wd == Saturday) return date.year() / date.month() / day{3};
    }
    return first;
}

Date UltimoDiaMes(const Date& date, bool fimDeSemana) {
    using namespace std::chrono;
    Date fim{date.year() / date.month() / last};
    if (fimDeSemana) {
        weekday wd{sys_days{fim}};
        if (wd == Sunday) return Date{sys_days{fim} - days{2}};
        if (wd == Saturday) return Date{sys_days{fim} - days{1}};
    }
    return fim;
}

std::string DigitosDecimais(Decimal value) {
    std::int64_t c = value.cents;
    std::uint64_t a = c < 0 ? static_cast<std::uint64_t>(-(c + 1)) + 1 : static_cast<std::uint64_t>(c);
    std::string digits = std::to_string(a);
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
    return c < 0 ? "-" + digits : digits;
}

std::string ValorFormatado(Decimal value) {
    std::string digitos = DigitosDecimais(value);
    const bool negativo = digitos[0] == '-';
    if (negativo) digitos.erase(0, 1);
    return (negativo ? "-" : "") + emMilhares(std::string_view(digitos).substr(0, digitos.size() - 2)) + "," +
           digitos.substr(digitos.size() - 2);
}

std::string ValorParaPlanilha(Decimal value) {
    std::string digitos = DigitosDecimais(value);
    digitos.insert(digitos.size() - 2, ",");
    return digitos;
}

}  // namespace zorla
