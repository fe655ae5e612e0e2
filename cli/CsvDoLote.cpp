#include "cli/CsvDoLote.h"

#include "base/Csv.h"
#include "export/Resumo.h"
#include "verificacao/TextosDaVerificacao.h"

namespace zorla {

namespace {
std::vector<std::string> camposDaLinha(const LinhaDoLote& l) {
    return {std::to_string(l.linha), l.conexao, std::to_string(l.empresa)};
}
}  // namespace

std::string CsvDoResumoDoLote(const std::vector<std::pair<LinhaDoLote, const ResultadoDaExportacao*>>& linhas) {
    std::vector<std::string> titulos(kColunasDaLinhaDoLote.begin(), kColunasDaLinhaDoLote.end());
    titulos.insert(titulos.end(), kColunasDoResumo.begin(), kColunasDoResumo.end());
    std::string csv = LinhaCsv(titulos);
    for (const auto& [linha, r] : linhas) csv += LinhasCsvDoResumo(*r, camposDaLinha(linha));
    return csv;
}

void CsvDaVerificacaoDoLote(const std::vector<std::pair<LinhaDoLote, const ResultadoDaVerificacao*>>& linhas,
                            const Escrita& escreve) {
    const std::vector<std::string> titulos(kColunasDaLinhaDoLote.begin(), kColunasDaLinhaDoLote.end());
    escreve(LinhaCsvDaVerificacao(titulos, kColunasDoProblema));
    for (const auto& [linha, r] : linhas) {
        const std::vector<std::string> antes = camposDaLinha(linha);
        for (const Problema& p : r->problemas) escreve(LinhaCsvDaVerificacao(antes, ColunasDoProblema(p)));
    }
}

}  // namespace zorla
