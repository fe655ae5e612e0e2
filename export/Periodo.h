#pragma once

#include <string>

#include "Value.h"

namespace zorla {

// Month names and abbreviations of the period chooser, by index 0–11.
const char* NomeMes(int indice);
const char* AbreviaturaMes(int indice);

// The date day/month/year composed as the window does (1/3/2008); an impossible one fails with
// "'<text>' is not a valid date".
Date ComporData(long dia, long mes, long ano);

// Base name of the output files: first day and last day two digits wide, "A", the month abbreviation.
std::string NomeArquivoPeriodo(const std::string& diaInicial, const std::string& diaFinal, const std::string& mesAbrev);

}  // namespace zorla
