#pragma once

#include <string>

#include "export/EventosDaExportacao.h"
#include "export/Verificacao.h"

namespace zorla {

// The totals of a completed run, file by file and, for the fiscal books, TIPO by TIPO: what the accountant compares
// with what Lumetra shows after its import. The purchases book holds no IPI, so it shows none.
std::string TextoDoResumo(const ResultadoDaExportacao& resultado);  // UTF-8 lines
std::string CsvDoResumo(const ResultadoDaExportacao& resultado);    // code page 1252
// The same for a batch: a column "Empresa" first, a company's rows after another's.
std::string CsvDoResumoDoLote(const std::vector<std::pair<std::string, const ResultadoDaExportacao*>>& empresas);

// The check's problems as a table, in columns of their width, and as CSV (code page 1252).
std::string TabelaDaVerificacao(const ResultadoDaVerificacao& resultado);  // UTF-8
std::string CsvDaVerificacao(const ResultadoDaVerificacao& resultado);
std::string CsvDaVerificacaoDoLote(const std::vector<std::pair<std::string, const ResultadoDaVerificacao*>>& empresas);

}  // namespace zorla
