#pragma once

#include <string>
#include <vector>

#include "cli/Argumentos.h"
#include "export/Sessao.h"

namespace zorla {

class SinaisDeParada;

// What the command line does, one function a mode, each returning the exit status. A signal or a time limit stops
// the work through the program's one stop.
int Exporta(const Argumentos& args, SinaisDeParada& sinais);
int Verifica(const Argumentos& args, SinaisDeParada& sinais);
int ListaEmpresas(const Argumentos& args, SinaisDeParada& sinais);

// The companies under a header, in aligned columns, the CNPJ as people write it.
std::string TabelaDasEmpresas(const std::vector<Empresa>& empresas);

}  // namespace zorla
