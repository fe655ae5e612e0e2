#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/Value.h"

namespace zorla {

// What one run takes when it starts, copied so the window may change its fields meanwhile.
struct ParametrosDaExecucao {
    std::string Diretorio;  // ends with the path delimiter
    std::string NomeArquivo;
    Date DataInicial;
    Date DataFinal;
    std::int64_t Empresa = 0;   // CODEMPRESA of the chosen company, for the purchases query
    std::string CodigoEmpresa;  // the typed company code, code page 1252, for every record
    // The files of the run's names the folder held when the run was accepted: each one the run writes again is
    // replaced, and said so.
    std::vector<std::string> Anteriores;
};

}  // namespace zorla
