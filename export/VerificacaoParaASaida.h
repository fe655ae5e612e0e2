#pragma once

#include <cstdint>

#include "base/Periodo.h"
#include "export/ConsultaParalela.h"
#include "export/Resumo.h"

namespace zorla {

class TFDMExporta;

struct ContagemDaVerificacao {
    long erros = 0, avisos = 0;
};

// The check of a period written out as a table or as CSV, errors first, as TabelaDaVerificacao and
// CsvDaVerificacao write it; only the errors are held in memory. Each query's warnings, millions on a large period,
// wait in a temporary file of their own until the errors are out.
ContagemDaVerificacao VerificaParaASaida(TFDMExporta& dm, const Periodo& periodo, std::int64_t empresa,
                                         const ConsultaParalela::NovoModulo& novoModulo, bool csv,
                                         const Escrita& escreve);

}  // namespace zorla
