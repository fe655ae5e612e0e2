#pragma once

#include <string>

#include "base/Value.h"

namespace zorla {

// Month names and abbreviations of the period chooser, by index 0–11.
const char* NomeMes(int indice);
const char* AbreviaturaMes(int indice);
// A date's month as a sentence writes it: "março/2026".
std::string MesEAno(const Date& data);

// The date day/month/year composed as the window does (1/3/2008); an impossible one fails with
// "'<text>' is not a valid date".
Date ComporData(long dia, long mes, long ano);

// Base name of the output files: first day and last day two digits wide, "A", the month abbreviation.
std::string NomeArquivoPeriodo(const std::string& diaInicial, const std::string& diaFinal, const std::string& mesAbrev);

// The last day of a month, 29 for February of a leap year.
int UltimoDiaDoMes(int mes, int ano);

// One period of an export: its first and last date and the base name of its files.
struct Periodo {
    Date DataInicial;
    Date DataFinal;
    std::string NomeArquivo;
};
// The period from days, month (1–12) and year; an impossible date fails as ComporData does, the first day first.
Periodo PeriodoDoMes(int diaInicial, int diaFinal, int mes, int ano);

}  // namespace zorla
