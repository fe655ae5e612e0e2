#pragma once

#include <string>
#include <utility>
#include <vector>

#include "base/Recusa.h"

namespace zorla {

// Whether the run may write its files into that folder: refused when one of their names there is a symbolic link or
// something other than a plain file, which a run would write through or fail on halfway.
OuRecusa<void> ExaminaOsNomes(const std::string& diretorio, const std::string& nomeArquivo);

// What a run reads and writes. A side file (CSV) may be none of them.
class ArquivosDaExecucao {
public:
    // A file the run reads: the connection file, the database file, the batch file.
    void lido(const std::string& caminho);
    // A connection file and the database file on this machine it opens, if any.
    void conexao(const std::string& arquivoDeConexao);
    // The run's files in that folder.
    void saida(const std::string& diretorio, const std::string& nomeArquivo);
    // Whether a side file may be written there: refused when it is one of them, or a folder.
    OuRecusa<void> aceita(const std::string& destino) const;

private:
    std::vector<std::string> m_lidos;
    std::vector<std::pair<std::string, std::string>> m_saidas;  // folder, base name
};

}  // namespace zorla
