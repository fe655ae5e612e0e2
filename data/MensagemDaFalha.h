#pragma once

#include <exception>
#include <string>

namespace zorla {

// A failure as the operator reads it. A connection's: what happened and what to do, in Portuguese, naming the
// connection file and its Database, with the library's own text as detail. Any other: its text as it came.
std::string MensagemDaFalha(const std::exception& falha, const std::string& arquivoDeConexao);

// Where the engine keeps its lock files, and the group that owns that folder (empty when unknown).
struct PastaDeTravas {
    std::string pasta;
    std::string grupo;
};
PastaDeTravas PastaDeTravasDoFirebird();

}  // namespace zorla
