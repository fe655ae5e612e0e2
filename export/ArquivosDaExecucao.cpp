#include "export/ArquivosDaExecucao.h"

#include <filesystem>
#include <iterator>
#include <stdexcept>

#include "base/Caminho.h"
#include "base/TextUtil.h"
#include "data/BancoDaConexao.h"
#include "leiaute/TipoArquivo.h"
#include "sistema/ArquivoLateral.h"
#include "sistema/IdentidadeDoCaminho.h"

namespace zorla {

namespace fs = std::filesystem;

OuRecusa<void> ExaminaOsNomes(const std::string& diretorio, const std::string& nomeArquivo) {
    for (TipoArquivo tipo : kTiposDeArquivo) {
        const std::string caminho = CaminhoDoArquivo(tipo, diretorio, nomeArquivo);
        std::error_code ec;
        const fs::file_status s = fs::symlink_status(CaminhoDoSistema(caminho), ec);
        if (ec || s.type() == fs::file_type::not_found || s.type() == fs::file_type::regular) continue;
        if (s.type() == fs::file_type::symlink)
            return Recusa{"O arquivo " + caminho +
                          " é um link simbólico: a exportação não grava através de links. "
                          "Apague o link ou escolha outra pasta."};
        return Recusa{"O caminho " + caminho +
                      " não é um arquivo comum e a exportação precisa gravar um arquivo com esse "
                      "nome. Tire-o da pasta ou escolha outra pasta."};
    }
    return {};
}

namespace {
bool mesmoNome(const fs::path& a, const fs::path& b) {
#ifdef _WIN32
    return equalsIgnoreCase(TextoDoCaminho(a.filename()), TextoDoCaminho(b.filename()));
#else
    return a.filename() == b.filename();
#endif
}
}  // namespace

void ArquivosDaExecucao::lido(const std::string& caminho) { m_lidos.push_back(caminho); }

void ArquivosDaExecucao::conexao(const std::string& arquivoDeConexao) {
    lido(arquivoDeConexao);
    lido(ArquivoDoBancoNesteComputador(arquivoDeConexao));
}

void ArquivosDaExecucao::saida(const std::string& diretorio, const std::string& nomeArquivo) {
    m_saidas.emplace_back(diretorio, nomeArquivo);
}

OuRecusa<void> ArquivosDaExecucao::aceita(const std::string& destino) const {
    auto recusado = [&](const std::string& outro) {
        return Recusa{"O arquivo " + destino + " é o mesmo que " + outro +
                      ", que esta execução lê ou grava: escolha outro nome para o arquivo CSV."};
    };
    const std::string eu = IdentidadeDoCaminho(destino);
    for (const std::string& lido : m_lidos)
        if (!lido.empty() && IdentidadeDoCaminho(lido) == eu) return recusado(lido);
    // A run's file may not exist yet: its folder and its name are what it will be.
    const fs::path alvo = CaminhoDoSistema(destino);
    const std::string pastaDoAlvo =
        IdentidadeDoCaminho(alvo.has_parent_path() ? TextoDoCaminho(alvo.parent_path()) : ".");
    for (const auto& [diretorio, nomeArquivo] : m_saidas) {
        const std::string pasta = IdentidadeDoCaminho(diretorio.empty() ? "." : diretorio);
        for (TipoArquivo tipo : kTiposDeArquivo) {
            const std::string caminho = CaminhoDoArquivo(tipo, diretorio, nomeArquivo);
            if ((pasta == pastaDoAlvo && mesmoNome(alvo, CaminhoDoSistema(caminho))) ||
                IdentidadeDoCaminho(caminho) == eu)
                return recusado(caminho);
        }
    }
    // A device, a file not this user's to replace, another run's folder: refused now, not after the run.
    if (std::string impedimento = ImpedimentoDoArquivoLateral(destino); !impedimento.empty())
        return Recusa{std::move(impedimento)};
    return {};
}

}  // namespace zorla
