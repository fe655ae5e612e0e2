#pragma once

#include <optional>
#include <string>
#include <vector>

#include "export/EventosDaExportacao.h"

namespace zorla {

// Where a run writes each of its files: the folder (ending with its delimiter) and the period's base name.
std::string CaminhoDoArquivo(TipoArquivo tipo, const std::string& diretorio, const std::string& nomeArquivo);
// "SAI", "ENT", "ctr", "pag", "fca": a file's column in a table of counts.
const char* SiglaDoArquivo(TipoArquivo tipo);
inline constexpr TipoArquivo kTiposDeArquivo[] = {TipoArquivo::LivroSaidas, TipoArquivo::LivroEntradas,
                                                  TipoArquivo::Recebimentos, TipoArquivo::Pagamentos,
                                                  TipoArquivo::DespesasGerais};

// Why the run may not write into that folder: one of its file names there is a symbolic link or something other
// than a plain file, which a run would write through or fail on halfway. Nothing when it may.
std::optional<std::string> RecusaDaSaida(const std::string& diretorio, const std::string& nomeArquivo);

// Files and folders compared as the system knows them (device and inode), not by how they are spelt; a path that
// does not exist is compared by its spelling made absolute.
std::string IdentidadeDoCaminho(const std::string& caminho);

// What a run reads and writes. A side file (CSV) may be none of them.
class ArquivosDaExecucao {
public:
    // A file the run reads: the connection file, the database file, the batch file.
    void lido(const std::string& caminho);
    // A connection file and the database file on this machine it opens, if any.
    void conexao(const std::string& arquivoDeConexao);
    // The run's files in that folder.
    void saida(const std::string& diretorio, const std::string& nomeArquivo);
    // Why a side file may not be written there; nothing when it may.
    std::optional<std::string> recusa(const std::string& destino) const;

private:
    std::vector<std::string> m_lidos;
    std::vector<std::pair<std::string, std::string>> m_saidas;  // folder, base name
};

}  // namespace zorla
