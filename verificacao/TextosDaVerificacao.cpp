#include "verificacao/TextosDaVerificacao.h"

#include <array>

#include "base/Csv.h"
#include "verificacao/TabelaDeProblemas.h"

namespace zorla {

void TabelaDaVerificacao(const ResultadoDaVerificacao& r, const Escrita& escreve) {
    TabelaDeProblemas tabela;
    for (const Problema& p : r.problemas) tabela.mede(p);
    escreve(tabela.cabecalho());
    for (const Problema& p : r.problemas) escreve(tabela.linha(p));
    escreve(ContagemDosProblemas(r) + "\n");
}

std::string LinhaCsvDaVerificacao(std::span<const std::string> antes, std::span<const std::string_view> campos) {
    // A batch's line takes three columns before a problem's five.
    std::array<std::string_view, 8> linha;
    std::size_t n = 0;
    for (const std::string& c : antes) linha[n++] = c;
    for (std::string_view c : campos) linha[n++] = c;
    return LinhaCsv(std::span<const std::string_view>(linha.data(), n));
}

void CsvDaVerificacao(const ResultadoDaVerificacao& r, const Escrita& escreve) {
    escreve(CabecalhoCsvDaVerificacao());
    for (const Problema& p : r.problemas) escreve(LinhaCsvDoProblema(p));
}

std::string CabecalhoCsvDaVerificacao() { return LinhaCsvDaVerificacao({}, kColunasDoProblema); }

std::string LinhaCsvDoProblema(const Problema& p) { return LinhaCsvDaVerificacao({}, ColunasDoProblema(p)); }

namespace {
template <class Gera>
std::string juntado(Gera gera) {
    std::string tudo;
    gera([&tudo](std::string_view parte) { tudo += parte; });
    return tudo;
}
}  // namespace

std::string TabelaDaVerificacao(const ResultadoDaVerificacao& r) {
    return juntado([&](const Escrita& e) { TabelaDaVerificacao(r, e); });
}

std::string CsvDaVerificacao(const ResultadoDaVerificacao& r) {
    return juntado([&](const Escrita& e) { CsvDaVerificacao(r, e); });
}

}  // namespace zorla
