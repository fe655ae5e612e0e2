#include "base/Cp1252.h"

#include <array>
#include <cstdint>

namespace zorla {

namespace {
// 0x80–0x9F; 0 marks the five bytes the code page leaves undefined (kept as the same code point).
constexpr std::array<std::uint16_t, 32> kHigh = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                 0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t decode(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F && kHigh[b - 0x80]) return kHigh[b - 0x80];
    return b;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char encode(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == cp || (kHigh[i] == 0 && cp == 0x80 + i)) return static_cast<char>(0x80 + i);
    return '?';
}
}  // namespace

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) appendUtf8(out, decode(static_cast<unsigned char>(c)));
    return out;
}

namespace {
// Length of the valid UTF-8 sequence at i and its code point; 0 when the bytes there are not UTF-8.
std::size_t decodeUtf8(std::string_view text, std::size_t i, char32_t& cp) {
    const auto b = static_cast<unsigned char>(text[i]);
    const std::size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > text.size()) return 0;
    cp = n == 1 ? b : b & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        const auto c = static_cast<unsigned char>(text[i + k]);
        if ((c & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    constexpr char32_t kMenor[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMenor[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return n;
}
}  // namespace

ConversaoCp1252 converteParaCp1252(std::string_view text) {
    ConversaoCp1252 out;
    out.texto.reserve(text.size());
    auto falha = [&](ErroCp1252 e) {
        if (out.erro == ErroCp1252::Nenhum) out.erro = e;
        out.texto += '?';
    };
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const std::size_t n = decodeUtf8(text, i, cp);
        if (n == 0) {
            falha(ErroCp1252::Utf8Invalido);
            ++i;
            continue;
        }
        const char c = encode(cp);
        if (c == '?' && cp != '?')
            falha(ErroCp1252::ForaDoCp1252);
        else
            out.texto += c;
        i += n;
    }
    return out;
}

std::string utf8ToCp1252(std::string_view text) { return converteParaCp1252(text).texto; }

bool utf8Valido(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const std::size_t n = decodeUtf8(text, i, cp);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

}  // namespace zorla
