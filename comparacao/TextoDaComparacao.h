#pragma once

#include <string>
#include <vector>

#include "comparacao/ComparacaoDeExportacoes.h"

namespace zorla {

// A comparison as a person reads it: per file its records equal, changed, removed and new; each difference, a
// changed record's fields old → new; the totals of both sides and what they differ by, file by file and TIPO by
// TIPO. UTF-8 lines.
std::string TextoDaComparacao(const ResultadoDaComparacao& r);
// "01A31MAR.SAI: 24.990 iguais, 5 alterados, 3 removidos, 2 novos"
std::string ContagemDaComparacao(const ArquivoComparado& a);
// The totals' lines: "  01A31MAR.SAI: 25 → 26 registros (+1); VALOR 1.244,50 → 1.300,00 (+55,50); …"
std::string TotaisDaComparacao(const ResultadoDaComparacao& r);

// The differences one a row, for a spreadsheet (code page 1252): file, change, record, field, before, after; a
// removed or new record is one row, its line on the side that has it.
std::string CsvDaComparacao(const ResultadoDaComparacao& r);
extern const std::vector<std::string> kColunasDaComparacao;
// A difference's cells, as those columns name them: a changed field (its index in the change), or with `campo` < 0
// the record as a whole, its line on each side that has it. Values as read: empty when blank.
std::vector<std::string> CelulasDaDiferenca(const ArquivoComparado& a, const Mudanca& m, int campo);
// A value that was, or became, blank: said so, not left empty.
std::string ValorOuEmBranco(const std::string& valor);

}  // namespace zorla
