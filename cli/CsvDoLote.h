#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/Escrita.h"
#include "export/EventosDaExportacao.h"
#include "verificacao/Verificacao.h"

namespace zorla {

// What names a batch's line in its CSV rows, in these columns before the others: a company may stand on many lines.
struct LinhaDoLote {
    int linha = 0;
    std::string conexao;  // the connection file
    std::int64_t empresa = 0;
};
inline constexpr std::array<const char*, 3> kColunasDaLinhaDoLote = {"Linha", "Conexão", "Empresa"};

// The totals of a batch, a line's rows after another's.
std::string CsvDoResumoDoLote(const std::vector<std::pair<LinhaDoLote, const ResultadoDaExportacao*>>& linhas);
// The checks of a batch, a line's problems after another's.
void CsvDaVerificacaoDoLote(const std::vector<std::pair<LinhaDoLote, const ResultadoDaVerificacao*>>& linhas,
                            const Escrita& escreve);

}  // namespace zorla
