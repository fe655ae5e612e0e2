#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "verificacao/Problema.h"

namespace zorla {

class TFDMExporta;
class DestinoDosProblemas;

struct ResultadoDaVerificacao {
    // The errors first, then the warnings, each in the order of the export: sales, purchases, cash/bank movements.
    // A deque, so that millions of warnings grow without ever being copied.
    std::deque<Problema> problemas;
    // Counted by the check as it puts the errors first, off the window's thread: millions of problems are not
    // gone through again to say how many.
    std::optional<int> errosContados;
    int erros() const;
    int avisos() const;
};

// The check's counts, when it was written out as it was read.
struct ContagemDaVerificacao {
    long erros = 0, avisos = 0;
};

const char* NomeDaGravidade(Gravidade g);

// A problem as every table and file shows it: these columns, in this order.
inline constexpr std::array<std::string_view, 5> kColunasDoProblema = {"Tipo", "Documento", "Campo", "Valor",
                                                                       "Problema"};
std::array<std::string_view, 5> ColunasDoProblema(const Problema& p);
// "1 erro, 2 avisos"
std::string ContagemDosProblemas(const ResultadoDaVerificacao& resultado);
std::string ContagemDosProblemas(long erros, long avisos);

}  // namespace zorla
