#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zorla {

struct CliArgs {
    int empresa = 0;
    std::string codigo;  // as typed (UTF-8)
    int mes = 0;
    int ano = 0;
    std::optional<int> diaInicial;
    std::optional<int> diaFinal;
    std::string saida;
    std::optional<std::string> config;
};

// Throws std::invalid_argument with a Portuguese text for the operator.
CliArgs parseCliArgs(const std::vector<std::string>& args);
const char* usoCli();

}  // namespace zorla
