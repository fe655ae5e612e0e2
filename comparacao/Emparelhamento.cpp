#include "comparacao/Emparelhamento.h"

#include <algorithm>
#include <cstdint>
#include <span>

namespace zorla {

namespace {

using Indices = std::vector<std::uint32_t>;

// Positions ordered by identity, then by what they hold, then by their line.
Indices ordenados(const std::vector<RegistroComparavel>& r) {
    Indices ordem(r.size());
    for (std::size_t i = 0; i < r.size(); ++i) ordem[i] = static_cast<std::uint32_t>(i);
    std::sort(ordem.begin(), ordem.end(), [&](std::uint32_t a, std::uint32_t b) {
        const RegistroComparavel &x = r[a], &y = r[b];
        if (x.identidade != y.identidade) return x.identidade < y.identidade;
        if (x.conteudo != y.conteudo) return x.conteudo < y.conteudo;
        return x.linha < y.linha;
    });
    return ordem;
}

// One identity's records on both sides, each ordered by content then line.
void emparelhaGrupo(const std::vector<RegistroComparavel>& antes, std::span<const std::uint32_t> a,
                    const std::vector<RegistroComparavel>& depois, std::span<const std::uint32_t> d,
                    Emparelhamento& e) {
    Indices restoA, restoD;
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < d.size()) {
        const std::uint64_t ca = antes[a[i]].conteudo, cd = depois[d[j]].conteudo;
        if (ca == cd) {
            ++e.iguais, ++i, ++j;
        } else if (ca < cd) {
            restoA.push_back(a[i++]);
        } else {
            restoD.push_back(d[j++]);
        }
    }
    restoA.insert(restoA.end(), a.begin() + static_cast<std::ptrdiff_t>(i), a.end());
    restoD.insert(restoD.end(), d.begin() + static_cast<std::ptrdiff_t>(j), d.end());
    // What is left, in the order of the file.
    std::sort(restoA.begin(), restoA.end(), [&](auto x, auto y) { return antes[x].linha < antes[y].linha; });
    std::sort(restoD.begin(), restoD.end(), [&](auto x, auto y) { return depois[x].linha < depois[y].linha; });
    const std::size_t pares = std::min(restoA.size(), restoD.size());
    for (std::size_t k = 0; k < pares; ++k) e.alterados.emplace_back(restoA[k], restoD[k]);
    e.soAntes.insert(e.soAntes.end(), restoA.begin() + static_cast<std::ptrdiff_t>(pares), restoA.end());
    e.soDepois.insert(e.soDepois.end(), restoD.begin() + static_cast<std::ptrdiff_t>(pares), restoD.end());
}

}  // namespace

Emparelhamento Emparelha(const std::vector<RegistroComparavel>& antes, const std::vector<RegistroComparavel>& depois) {
    const Indices a = ordenados(antes), d = ordenados(depois);
    Emparelhamento e;
    std::size_t i = 0, j = 0;
    while (i < a.size() || j < d.size()) {
        const std::uint64_t chave = j == d.size() || (i < a.size() && antes[a[i]].identidade < depois[d[j]].identidade)
                                        ? antes[a[i]].identidade
                                        : depois[d[j]].identidade;
        std::size_t fimA = i, fimD = j;
        while (fimA < a.size() && antes[a[fimA]].identidade == chave) ++fimA;
        while (fimD < d.size() && depois[d[fimD]].identidade == chave) ++fimD;
        emparelhaGrupo(antes, std::span(a).subspan(i, fimA - i), depois, std::span(d).subspan(j, fimD - j), e);
        i = fimA, j = fimD;
    }
    // Reported in the order of the files.
    std::sort(e.alterados.begin(), e.alterados.end());
    std::sort(e.soAntes.begin(), e.soAntes.end());
    std::sort(e.soDepois.begin(), e.soDepois.end());
    return e;
}

}  // namespace zorla
