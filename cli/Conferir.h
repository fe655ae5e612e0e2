#pragma once

#include <string>

#include "cli/Argumentos.h"
#include "export/EventosDaExportacao.h"

namespace zorla {

class SinaisDeParada;

// Reads exported files back: every line checked against its layout, the totals as the export gives them; one line
// field by field, or a file's records as CSV. Writes nothing but to its standard output. The exit status: 0 when
// every line is valid, 4 when any is not, 2 for a path that names no exported file, 1 when a file cannot be read.
// A signal ends it within the grace of SinaisDeParada, with the signal's status.
int Confere(const Argumentos& args, SinaisDeParada& sinais);
// One line of a file field by field, with the other line of its movement in a cash/bank file; 2 when the file has
// no such line.
int MostraLinha(const std::string& caminho, TipoArquivo tipo, long numero);
// Every line of a file as a CSV row of named columns (code page 1252, ";"), amounts and dates as a spreadsheet reads
// them.
int EscreveCsv(const std::string& caminho, TipoArquivo tipo);

}  // namespace zorla
