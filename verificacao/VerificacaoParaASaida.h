#pragma once

#include <cstdint>
#include <stop_token>

#include "base/Escrita.h"
#include "base/Periodo.h"
#include "sistema/ConsultaParalela.h"
#include "verificacao/Verificacao.h"

namespace zorla {

class TFDMExporta;

// The check of a period written out as a table or as CSV, errors first, as TabelaDaVerificacao and
// CsvDaVerificacao write it; only the errors are held in memory. Each query's warnings, millions on a large period,
// wait in a temporary file of their own until the errors are out.
ContagemDaVerificacao VerificaParaASaida(TFDMExporta& dm, const Periodo& periodo, std::int64_t empresa,
                                         const ConsultaParalela::NovoModulo& novoModulo, bool csv,
                                         const Escrita& escreve, std::stop_token parada = {});

}  // namespace zorla
