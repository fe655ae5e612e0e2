#pragma once

#include "cli/Argumentos.h"

namespace zorla {

class SinaisDeParada;

// Two exports of a period compared record by record, as text or as CSV on the standard output. The exit status: 0
// when they hold the same records, 3 when they differ, 2 when the two are refused (not exports, not alike, of
// different periods or companies, or damaged: then what the reader found is printed), 1 when a file cannot be read;
// a signal's status when one ends it.
int Compara(const Argumentos& args, SinaisDeParada& sinais);

}  // namespace zorla
