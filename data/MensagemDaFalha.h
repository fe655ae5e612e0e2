#pragma once

#include <exception>
#include <string>

namespace zorla {

// A failure as the operator reads it. A connection's: what happened and what to do, in Portuguese, naming the
// connection file and its Database, with the library's own text as detail. Any other: its text as it came.
std::string MensagemDaFalha(const std::exception& falha, const std::string& arquivoDeConexao);
// The same, and a query's failure framed as well: what failed, what to do (naming the procedure, table or column the
// database lacks, or the permission it refuses), the server's text as detail. For the check, the batch and the
// command line; the window's consult keeps its standard box.
std::string MensagemDaFalhaDaConsulta(const std::exception& falha, const std::string& arquivoDeConexao);

// Where the engine keeps its lock files, and the group that owns that folder (empty when unknown).
struct PastaDeTravas {
    std::string pasta;
    std::string grupo;
};
PastaDeTravas PastaDeTravasDoFirebird();

}  // namespace zorla
