#include "comparacao/Emparelhamento.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <span>
#include <thread>
#include <utility>

namespace zorla {

namespace {

using Registros = std::vector<RegistroComparavel>;

// By identity, records of one identity in the order of the file: a stable radix sort on the identity's upper 32
// bits, 16 at a time, over records given in the file's order; the rare runs that share those bits then ordered by
// the whole identity, stably.
void ordena(Registros& r) {
    Registros outro(r.size());
    std::vector<std::uint32_t> contagem(1u << 16);
    for (const int deslocamento : {32, 48}) {
        std::fill(contagem.begin(), contagem.end(), 0u);
        for (const RegistroComparavel& x : r) ++contagem[(x.identidade >> deslocamento) & 0xFFFF];
        std::uint32_t soma = 0;
        for (std::uint32_t& c : contagem) soma += std::exchange(c, soma);
        for (const RegistroComparavel& x : r) outro[contagem[(x.identidade >> deslocamento) & 0xFFFF]++] = x;
        r.swap(outro);
    }
    for (std::size_t i = 0; i < r.size();) {
        std::size_t fim = i + 1;
        while (fim < r.size() && (r[fim].identidade >> 32) == (r[i].identidade >> 32)) ++fim;
        if (fim - i > 1)
            std::stable_sort(r.begin() + static_cast<std::ptrdiff_t>(i), r.begin() + static_cast<std::ptrdiff_t>(fim),
                             [](const auto& x, const auto& y) { return x.identidade < y.identidade; });
        i = fim;
    }
}

bool porLinha(const RegistroComparavel& x, const RegistroComparavel& y) { return x.linha < y.linha; }

bool porConteudo(const RegistroComparavel& x, const RegistroComparavel& y) {
    return x.conteudo != y.conteudo ? x.conteudo < y.conteudo : x.linha < y.linha;
}

// One identity's records on both sides, each in the order of its file.
void emparelhaGrupo(std::span<const RegistroComparavel> grupoA, std::span<const RegistroComparavel> grupoD,
                    Emparelhamento& e) {
    Registros a(grupoA.begin(), grupoA.end()), d(grupoD.begin(), grupoD.end());
    std::sort(a.begin(), a.end(), porConteudo);
    std::sort(d.begin(), d.end(), porConteudo);
    Registros restoA, restoD;
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < d.size()) {
        if (a[i].conteudo == d[j].conteudo) {
            ++e.iguais, ++i, ++j;
        } else if (a[i].conteudo < d[j].conteudo) {
            restoA.push_back(a[i++]);
        } else {
            restoD.push_back(d[j++]);
        }
    }
    restoA.insert(restoA.end(), a.begin() + static_cast<std::ptrdiff_t>(i), a.end());
    restoD.insert(restoD.end(), d.begin() + static_cast<std::ptrdiff_t>(j), d.end());
    // What is left, in the order of the file.
    std::sort(restoA.begin(), restoA.end(), porLinha);
    std::sort(restoD.begin(), restoD.end(), porLinha);
    const std::size_t pares = std::min(restoA.size(), restoD.size());
    for (std::size_t k = 0; k < pares; ++k) e.alterados.emplace_back(restoA[k], restoD[k]);
    e.soAntes.insert(e.soAntes.end(), restoA.begin() + static_cast<std::ptrdiff_t>(pares), restoA.end());
    e.soDepois.insert(e.soDepois.end(), restoD.begin() + static_cast<std::ptrdiff_t>(pares), restoD.end());
}

}  // namespace

Emparelhamento Emparelha(Registros antes, Registros depois) {
    std::exception_ptr falha;
    {
        std::jthread outro([&] {
            try {
                ordena(depois);
            } catch (...) {  // out of memory: the caller's failure, not the program's end
                falha = std::current_exception();
            }
        });
        ordena(antes);
    }
    if (falha) std::rethrow_exception(falha);
    Emparelhamento e;
    const std::span<const RegistroComparavel> a(antes), d(depois);
    std::size_t i = 0, j = 0;
    while (i < a.size() || j < d.size()) {
        const std::uint64_t chave =
            j == d.size() || (i < a.size() && a[i].identidade < d[j].identidade) ? a[i].identidade : d[j].identidade;
        std::size_t fimA = i, fimD = j;
        while (fimA < a.size() && a[fimA].identidade == chave) ++fimA;
        while (fimD < d.size() && d[fimD].identidade == chave) ++fimD;
        // Most identities are equal on both sides and alone: nothing to gather.
        if (fimA == i + 1 && fimD == j + 1 && a[i].conteudo == d[j].conteudo)
            ++e.iguais;
        else
            emparelhaGrupo(a.subspan(i, fimA - i), d.subspan(j, fimD - j), e);
        i = fimA, j = fimD;
    }
    return e;
}

}  // namespace zorla
