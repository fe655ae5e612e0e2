#pragma once

#include <string>
#include <vector>

#include "export/EventosDaExportacao.h"

namespace zorla {

// The totals of a completed run, file by file and, for the fiscal books, TIPO by TIPO: what the accountant compares
// with what Lumetra shows after its import. The purchases book holds no IPI, so it shows none.
std::string TextoDoResumo(const ResultadoDaExportacao& resultado);  // UTF-8 lines
std::string CsvDoResumo(const ResultadoDaExportacao& resultado);    // code page 1252
// The CSV's columns, and a run's rows each after the given leading fields (a batch's line).
extern const std::vector<std::string> kColunasDoResumo;
std::string LinhasCsvDoResumo(const ResultadoDaExportacao& resultado, const std::vector<std::string>& antes);

// How the totals and the listing say a file replaced one of the same name: "substituído", and against this period's
// and company's earlier file, "substituído: 2 alterados, 1 removido, 3 novos"; empty when it replaced none.
std::string TextoDaSubstituicao(const ArquivoGravado& arquivo);

// How the totals and the listing name a file of an earlier run that this run removed.
inline const char* const kApagado = "apagado: era de uma exportação anterior, e este período não tem compras";

}  // namespace zorla
