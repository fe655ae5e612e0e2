#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "export/EventosDaExportacao.h"
#include "export/Verificacao.h"

namespace zorla {

// The totals of a completed run, file by file and, for the fiscal books, TIPO by TIPO: what the accountant compares
// with what Lumetra shows after its import. The purchases book holds no IPI, so it shows none.
std::string TextoDoResumo(const ResultadoDaExportacao& resultado);  // UTF-8 lines
std::string CsvDoResumo(const ResultadoDaExportacao& resultado);    // code page 1252
// What names a batch's line in its CSV rows, in these columns before the others: a company may stand on many lines.
struct LinhaDoLote {
    int linha = 0;
    std::string conexao;  // the connection file
    std::int64_t empresa = 0;
};
inline constexpr std::array<const char*, 3> kColunasDaLinhaDoLote = {"Linha", "Conexão", "Empresa"};
std::vector<std::string> CamposDaLinhaDoLote(const LinhaDoLote& linha);

// The same for a batch, a line's rows after another's.
std::string CsvDoResumoDoLote(const std::vector<std::pair<LinhaDoLote, const ResultadoDaExportacao*>>& linhas);

// How the totals and the listing name a file of an earlier run that this run removed.
inline const char* const kApagado = "apagado: era de uma exportação anterior, e este período não tem compras";

// Takes the text piece by piece, so that millions of problems are never held twice.
using Escrita = std::function<void(std::string_view)>;

// The check's problems as a table, in columns of their width (UTF-8), and as CSV (code page 1252).
void TabelaDaVerificacao(const ResultadoDaVerificacao& resultado, const Escrita& escreve);
void CsvDaVerificacao(const ResultadoDaVerificacao& resultado, const Escrita& escreve);
void CsvDaVerificacaoDoLote(const std::vector<std::pair<LinhaDoLote, const ResultadoDaVerificacao*>>& linhas,
                            const Escrita& escreve);
std::string TabelaDaVerificacao(const ResultadoDaVerificacao& resultado);
std::string CsvDaVerificacao(const ResultadoDaVerificacao& resultado);
// The CSV's title line and a problem's line.
std::string CabecalhoCsvDaVerificacao();
std::string LinhaCsvDoProblema(const Problema& problema);

}  // namespace zorla
