#include "conferencia/MoldeDaLinha.h"

#include <bit>

#include "base/Formatacao.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace zorla {

namespace {

bool amontoadoDeZeros(const CampoDoLeiaute& f) { return f.regra == Regra::Valor && f.preenchimento == '0'; }

#ifdef __SSE2__
__m128i carrega(const char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
#endif

// A byte above 0x7F is a letter of code page 1252 unless it is one of the few it leaves undefined or opens UTF-8.
bool altoAceito(std::string_view linha, std::size_t i) {
    const auto c = linha[i];
    return !CaractereDeControle(c) && !(static_cast<unsigned char>(c) >= 0xC2 && Utf8Em(linha, i));
}

}  // namespace

MoldeDaLinha::MoldeDaLinha(const Leiaute& leiaute)
    : m_l(leiaute), m_menor(leiaute.largura(), ' '), m_maior(m_menor.size(), '\xFF') {
    for (std::size_t i = 0; i < m_l.campos.size(); ++i) {
        const CampoDoLeiaute& f = m_l.campos[i];
        const std::size_t inicio = m_l.inicio(i);
        if (f.regra == Regra::Fixo) {
            m_menor.replace(inicio, f.largura, f.largura, f.preenchimento);
            m_maior.replace(inicio, f.largura, f.largura, f.preenchimento);
        }
        if (amontoadoDeZeros(f)) {
            m_menor.replace(inicio, f.largura, f.largura, '0');
            m_maior.replace(inicio, f.largura, f.largura, '9');
        }
    }
}

bool MoldeDaLinha::cobre(std::size_t campo) const {
    return m_l.campos[campo].regra == Regra::Fixo || amontoadoDeZeros(m_l.campos[campo]);
}

bool MoldeDaLinha::confere(std::string_view linha) const {
    if (linha.size() != m_menor.size()) return false;
    const char *menor = m_menor.data(), *maior = m_maior.data();
    std::size_t i = 0;
    bool altos = false;
#ifdef __SSE2__
    __m128i dentro = _mm_set1_epi8(-1), todos = _mm_setzero_si128();
    for (; i + 16 <= linha.size(); i += 16) {
        const __m128i x = carrega(linha.data() + i);
        const __m128i acima = _mm_cmpeq_epi8(_mm_max_epu8(x, carrega(menor + i)), x);
        const __m128i abaixo = _mm_cmpeq_epi8(_mm_min_epu8(x, carrega(maior + i)), x);
        const __m128i apaga = _mm_cmpeq_epi8(x, _mm_set1_epi8(0x7F));
        dentro = _mm_and_si128(dentro, _mm_andnot_si128(apaga, _mm_and_si128(acima, abaixo)));
        todos = _mm_or_si128(todos, x);
    }
    if (_mm_movemask_epi8(dentro) != 0xFFFF) return false;
    altos = _mm_movemask_epi8(todos) != 0;
#endif
    for (; i < linha.size(); ++i) {
        const auto c = static_cast<unsigned char>(linha[i]);
        if (c < static_cast<unsigned char>(menor[i]) || c > static_cast<unsigned char>(maior[i]) || c == 0x7F)
            return false;
        altos |= c >= 0x80;
    }
    return !altos || altosAceitos(linha);
}

bool MoldeDaLinha::altosAceitos(std::string_view linha) const {
    for (std::size_t i = 0; i < linha.size(); ++i)
        if (static_cast<unsigned char>(linha[i]) >= 0x80 && !altoAceito(linha, i)) return false;
    return true;
}

// What UTF-8 makes of Portuguese text: "Ã" or "Â" before a byte of 0x80–0xBF (accented letters, º, ª, the
// non-breaking space) and "â€" before the typographic quotes and dashes. In code page 1252 these pairs read "Ã©",
// "Âº", "â€": not Portuguese. Other pairs, "É…" or "Ó”", are code page 1252 as the writers copy it.
std::size_t Utf8Em(std::string_view t, std::size_t i) {
    const auto b = [&](std::size_t k) { return k < t.size() ? static_cast<unsigned char>(t[k]) : 0u; };
    const bool continua = (b(i + 1) & 0xC0) == 0x80;
    if ((b(i) == 0xC3 || (b(i) == 0xC2 && b(i + 1) >= 0xA0)) && continua) return 2;
    if (b(i) == 0xE2 && b(i + 1) == 0x80 && (b(i + 2) & 0xC0) == 0x80) return 3;
    return 0;
}

}  // namespace zorla
