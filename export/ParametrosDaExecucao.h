#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/Value.h"
#include "comparacao/ColetorDeRegistros.h"

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
    // Of those, each of this period and company (or empty), by its path: its records' identities, for what the run
    // changes in it.
    std::map<std::string, std::shared_ptr<const std::vector<RegistroComparavel>>> RegistrosAnteriores;
};

}  // namespace zorla
