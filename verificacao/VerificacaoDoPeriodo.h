#pragma once

#include <array>
#include <cstdint>
#include <stop_token>

#include "base/Periodo.h"
#include "sistema/ConsultaParalela.h"
#include "verificacao/Verificacao.h"

namespace zorla {

class TFDMExporta;
class DestinoDosProblemas;

// Reads the period of a company as an export does and lists every problem of it in one pass; writes nothing and
// leaves the datasets of the consult and the run alone. A stop of the token stops its queries.
// With `novoModulo`, the purchases and the movements are read each on a module of its own, at the same time as the
// sales; the problems are the same, in the same order.
ResultadoDaVerificacao Verifica(TFDMExporta& dm, const Periodo& periodo, std::int64_t empresa,
                                const ConsultaParalela::NovoModulo& novoModulo = {}, std::stop_token parada = {});
// The same reading, each query's problems handed to its own destination (sales, purchases, movements) as they are
// found, in that query's order; none kept here.
void VerificaNosDestinos(TFDMExporta& dm, const Periodo& periodo, std::int64_t empresa,
                         const ConsultaParalela::NovoModulo& novoModulo,
                         const std::array<DestinoDosProblemas*, 3>& destinos, std::stop_token parada = {});

}  // namespace zorla
