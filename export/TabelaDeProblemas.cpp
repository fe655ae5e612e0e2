#include "export/TabelaDeProblemas.h"

#include <algorithm>
#include <string_view>

#include "base/TextUtil.h"
#include "export/Verificacao.h"

namespace zorla {

namespace {
std::string curto(std::string_view v) {
    std::size_t caracteres = 0, i = 0;
    for (; i < v.size() && caracteres < 40; ++i) caracteres += (v[i] & 0xC0) != 0x80;
    while (i < v.size() && (v[i] & 0xC0) == 0x80) ++i;
    return i < v.size() ? std::string(v.substr(0, i)) + "…" : std::string(v);
}

std::array<std::string, 5> colunas(const Problema& p) {
    std::array<std::string, 5> c;
    const auto campos = ColunasDoProblema(p);
    std::copy(campos.begin(), campos.end(), c.begin());
    c[3] = curto(campos[3]);
    return c;
}
}  // namespace

TabelaDeProblemas::TabelaDeProblemas() {
    for (std::size_t i = 0; i < 5; ++i) m_larguras[i] = LarguraNoTerminal(kColunasDoProblema[i]);
}

void TabelaDeProblemas::mede(const Problema& p) {
    const auto c = colunas(p);
    for (std::size_t i = 0; i < 5; ++i) m_larguras[i] = std::max(m_larguras[i], LarguraNoTerminal(c[i]));
}

void TabelaDeProblemas::junta(const TabelaDeProblemas& outra) {
    for (std::size_t i = 0; i < 5; ++i) m_larguras[i] = std::max(m_larguras[i], outra.m_larguras[i]);
}

std::string TabelaDeProblemas::cabecalho() const {
    const auto& t = kColunasDoProblema;
    return linha(std::array<std::string, 5>{t[0], t[1], t[2], t[3], t[4]});
}

std::string TabelaDeProblemas::linha(const Problema& p) const { return linha(colunas(p)); }

std::string TabelaDeProblemas::linha(const std::array<std::string, 5>& c) const {
    std::string l;
    for (std::size_t i = 0; i < 5; ++i)
        l += c[i] + (i < 4 ? std::string(m_larguras[i] - LarguraNoTerminal(c[i]) + 2, ' ') : "\n");
    return l;
}

}  // namespace zorla
