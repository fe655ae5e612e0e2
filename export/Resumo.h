#pragma once

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
// The same for a batch: a column "Empresa" first, a company's rows after another's.
std::string CsvDoResumoDoLote(const std::vector<std::pair<std::string, const ResultadoDaExportacao*>>& empresas);

// Takes the text piece by piece, so that millions of problems are never held twice.
using Escrita = std::function<void(std::string_view)>;

// The check's problems as a table, in columns of their width (UTF-8), and as CSV (code page 1252).
void TabelaDaVerificacao(const ResultadoDaVerificacao& resultado, const Escrita& escreve);
void CsvDaVerificacao(const ResultadoDaVerificacao& resultado, const Escrita& escreve);
void CsvDaVerificacaoDoLote(const std::vector<std::pair<std::string, const ResultadoDaVerificacao*>>& empresas,
                            const Escrita& escreve);
std::string TabelaDaVerificacao(const ResultadoDaVerificacao& resultado);
std::string CsvDaVerificacao(const ResultadoDaVerificacao& resultado);

}  // namespace zorla
