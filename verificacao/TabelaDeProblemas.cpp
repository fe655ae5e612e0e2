#include "verificacao/TabelaDeProblemas.h"

#include <algorithm>
#include <string_view>

#include "base/TextUtil.h"
#include "verificacao/Verificacao.h"

namespace zorla {

namespace {
// A long value by its first 40 characters, whole ones; `cortado` when there is more of it.
std::string_view inicio(std::string_view v, bool& cortado) {
    std::size_t caracteres = 0, i = 0;
    for (; i < v.size() && caracteres < 40; ++i) caracteres += (v[i] & 0xC0) != 0x80;
    while (i < v.size() && (v[i] & 0xC0) == 0x80) ++i;
    cortado = i < v.size();
    return v.substr(0, i);
}

std::array<std::string_view, 5> colunas(const Problema& p, bool& cortado) {
    auto c = ColunasDoProblema(p);
    c[3] = inicio(c[3], cortado);
    return c;
}

constexpr std::string_view kReticencias = "…";
}  // namespace

TabelaDeProblemas::TabelaDeProblemas() {
    for (std::size_t i = 0; i < 5; ++i) m_larguras[i] = LarguraNoTerminal(kColunasDoProblema[i]);
}

void TabelaDeProblemas::mede(const Problema& p) {
    bool cortado = false;
    const auto c = colunas(p, cortado);
    for (std::size_t i = 0; i < 5; ++i)
        m_larguras[i] = std::max(m_larguras[i], LarguraNoTerminal(c[i]) + (i == 3 && cortado ? 1 : 0));
}

void TabelaDeProblemas::junta(const TabelaDeProblemas& outra) {
    for (std::size_t i = 0; i < 5; ++i) m_larguras[i] = std::max(m_larguras[i], outra.m_larguras[i]);
}

std::string TabelaDeProblemas::cabecalho() const {
    const auto& t = kColunasDoProblema;
    std::string l;
    acrescenta({t[0], t[1], t[2], t[3], t[4]}, false, l);
    return l;
}

std::string TabelaDeProblemas::linha(const Problema& p) const {
    std::string l;
    acrescentaLinha(p, l);
    return l;
}

void TabelaDeProblemas::acrescentaLinha(const Problema& p, std::string& saida) const {
    bool cortado = false;
    const auto c = colunas(p, cortado);
    acrescenta(c, cortado, saida);
}

void TabelaDeProblemas::acrescenta(const std::array<std::string_view, 5>& c, bool cortado, std::string& l) const {
    for (std::size_t i = 0; i < 5; ++i) {
        l += c[i];
        std::size_t largura = LarguraNoTerminal(c[i]);
        if (i == 3 && cortado) {
            l += kReticencias;
            ++largura;
        }
        if (i < 4)
            l.append(m_larguras[i] - largura + 2, ' ');
        else
            l += '\n';
    }
}

}  // namespace zorla
