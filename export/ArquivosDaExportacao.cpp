#include "export/ArquivosDaExportacao.h"

#include <filesystem>
#include <iterator>
#include <stdexcept>

#include "base/Caminho.h"
#include "base/TextUtil.h"
#include "export/BancoDaConexao.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace zorla {

namespace fs = std::filesystem;

namespace {
struct NomeDoArquivo {
    TipoArquivo tipo;
    const char* prefixo;
    const char* extensao;
    const char* sigla;
};
constexpr NomeDoArquivo kNomes[] = {
    {TipoArquivo::LivroSaidas, "", ".SAI", "SAI"},   {TipoArquivo::LivroEntradas, "", ".ENT", "ENT"},
    {TipoArquivo::Recebimentos, "ctr", ".txt", "ctr"}, {TipoArquivo::Pagamentos, "pag", ".txt", "pag"},
    {TipoArquivo::DespesasGerais, "fca", ".txt", "fca"},
};
static_assert(std::size(kNomes) == std::size(kTiposDeArquivo), "every kind of file has its names");
// A kind without names would write over another file: it fails instead.
const NomeDoArquivo& nomeDo(TipoArquivo tipo) {
    for (const NomeDoArquivo& n : kNomes)
        if (n.tipo == tipo) return n;
    throw std::logic_error("tipo de arquivo sem nome");
}
}  // namespace

std::string CaminhoDoArquivo(TipoArquivo tipo, const std::string& diretorio, const std::string& nomeArquivo) {
    const NomeDoArquivo& n = nomeDo(tipo);
    return diretorio + n.prefixo + nomeArquivo + n.extensao;
}

const char* SiglaDoArquivo(TipoArquivo tipo) { return nomeDo(tipo).sigla; }

std::optional<std::string> RecusaDaSaida(const std::string& diretorio, const std::string& nomeArquivo) {
    for (TipoArquivo tipo : kTiposDeArquivo) {
        const std::string caminho = CaminhoDoArquivo(tipo, diretorio, nomeArquivo);
        std::error_code ec;
        const fs::file_status s = fs::symlink_status(CaminhoDoSistema(caminho), ec);
        if (ec || s.type() == fs::file_type::not_found || s.type() == fs::file_type::regular) continue;
        if (s.type() == fs::file_type::symlink)
            return "O arquivo " + caminho + " é um link simbólico: a exportação não grava através de links. "
                   "Apague o link ou escolha outra pasta.";
        return "O caminho " + caminho + " não é um arquivo comum e a exportação precisa gravar um arquivo com esse "
               "nome. Tire-o da pasta ou escolha outra pasta.";
    }
    return std::nullopt;
}

std::string IdentidadeDoCaminho(const std::string& caminho) {
#ifndef _WIN32
    struct stat s {};
    if (::stat(caminho.c_str(), &s) == 0)
        return std::to_string(static_cast<unsigned long long>(s.st_dev)) + ":" +
               std::to_string(static_cast<unsigned long long>(s.st_ino));
#endif
    std::error_code ec;
    const fs::path p = fs::weakly_canonical(CaminhoDoSistema(caminho), ec);
#ifdef _WIN32
    return "@" + upperAscii(ec ? caminho : TextoDoCaminho(p));  // its file names are one in any case
#else
    return "@" + (ec ? caminho : TextoDoCaminho(p));
#endif
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

std::optional<std::string> ArquivosDaExecucao::recusa(const std::string& destino) const {
    auto recusado = [&](const std::string& outro) {
        return "O arquivo " + destino + " é o mesmo que " + outro +
               ", que esta execução lê ou grava: escolha outro nome para o arquivo CSV.";
    };
    std::error_code ec;
    if (fs::is_directory(CaminhoDoSistema(destino), ec))
        return "O caminho " + destino + " é uma pasta: informe um arquivo.";
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
    return std::nullopt;
}

}  // namespace zorla
