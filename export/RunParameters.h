#pragma once

#include <string>

#include "base/Value.h"

namespace zorla {

// What one run takes when it starts, copied so the window may change its fields meanwhile.
struct RunParameters {
    std::string Diretorio;  // ends with the path delimiter
    std::string NomeArquivo;
    Date DataInicial;
    Date DataFinal;
    int empresa = 0;            // CODEMPRESA of the chosen company, for the purchases query
    std::string codigoEmpresa;  // the typed company code, code page 1252, for every record
};

}  // namespace zorla
