#pragma once

#include <string>

namespace zorla {

// One severity for each kind of problem, as the export meets it: an error is what makes the export fail (a column it
// cannot read, an amount too wide for its field); a warning is what it writes all the same, cut, blank or as a
// pendência (a movement without an account). The check ends with 4 for errors, 3 for warnings alone.
enum class Gravidade { Erro, Aviso };

struct Problema {
    Gravidade gravidade = Gravidade::Aviso;
    std::string documento;  // which document or movement, e.g. "Venda NF000123"
    std::string campo;
    std::string valor;
    std::string problema;  // what is wrong; all texts UTF-8
};

}  // namespace zorla
