#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zorla {

struct CliArgs {
    int empresa = 0;
    std::string codigo;  // code page 1252, as it goes into the records
    int mes = 0;
    int ano = 0;
    int diaInicial = 1;
    int diaFinal = 0;  // the month's last day unless given
    std::string saida;
    std::optional<std::string> config;
    std::optional<int> tempoLimite;  // seconds
    std::vector<std::string> avisos;  // for the operator; the run goes on
};

// Throws std::invalid_argument with a Portuguese text for the operator.
CliArgs parseCliArgs(const std::vector<std::string>& args);
const char* usoCli();

}  // namespace zorla
