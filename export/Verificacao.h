#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Periodo.h"
#include "export/ConsultaParalela.h"
#include "export/Problema.h"

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

// Reads the period of a company as an export does and lists every problem of it in one pass; writes nothing and
// leaves the datasets of the consult and the run alone.
// With `novoModulo`, the purchases and the movements are read each on a module of its own, at the same time as the
// sales; the problems are the same, in the same order.
ResultadoDaVerificacao Verifica(TFDMExporta& dm, const Periodo& periodo, std::int64_t empresa,
                                const ConsultaParalela::NovoModulo& novoModulo = {});
// The same reading, each query's problems handed to its own destination (sales, purchases, movements) as they are
// found, in that query's order; none kept here.
void VerificaNosDestinos(TFDMExporta& dm, const Periodo& periodo, std::int64_t empresa,
                         const ConsultaParalela::NovoModulo& novoModulo,
                         const std::array<DestinoDosProblemas*, 3>& destinos);

const char* NomeDaGravidade(Gravidade g);

// A problem as every table and file shows it: these columns, in this order.
inline constexpr std::array<const char*, 5> kColunasDoProblema = {"Tipo", "Documento", "Campo", "Valor", "Problema"};
std::array<std::string_view, 5> ColunasDoProblema(const Problema& p);
// A column's name as the operator reads it, the name after it: "Cidade do cliente (CIDADECLIENTE)".
std::string_view RotuloDoCampo(std::string_view campo);
// "1 erro, 2 avisos"
std::string ContagemDosProblemas(const ResultadoDaVerificacao& resultado);
std::string ContagemDosProblemas(long erros, long avisos);

}  // namespace zorla
