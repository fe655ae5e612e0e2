#pragma once

#include <string>

namespace zorla {

// Errors stop or interrupt a run; warnings are written all the same.
enum class Gravidade { Erro, Aviso };

struct Problema {
    Gravidade gravidade = Gravidade::Aviso;
    std::string documento;  // which document or movement, e.g. "Venda NF000123"
    std::string campo;
    std::string valor;
    std::string problema;  // what is wrong; all texts UTF-8
};

}  // namespace zorla
