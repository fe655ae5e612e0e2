#include "data/BancoDaConexao.h"

#include <filesystem>
#include <utility>

#include "base/Caminho.h"
#include "base/TextUtil.h"
#include "data/IniFile.h"
#include "data/ParamLines.h"

namespace zorla {

bool BancoDeServidor(std::string_view database) {
    for (std::string_view protocolo : {"inet://", "inet4://", "inet6://", "wnet://", "xnet://"})
        if (database.starts_with(protocolo)) return true;
    if (database.starts_with("\\\\")) return true;  // \\host\path
    // "C:\dados.fdb" has its colon second; a path of this system starts with its separator.
    const std::size_t doisPontos = database.find(':');
    if (doisPontos == std::string_view::npos || doisPontos < 2 || database.front() == '/') return false;
    return database.substr(0, doisPontos).find('\\') == std::string_view::npos;
}

// Only a link is followed: any other path stays as the operator or the program spelt it.
std::string ArquivoDeConexaoAEditar(const std::string& conexao) {
    std::error_code ec;
    const std::filesystem::path caminho = CaminhoDoSistema(conexao);
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(caminho, ec))) return conexao;
    const auto real = std::filesystem::canonical(caminho, ec);
    return ec ? conexao : TextoDoCaminho(real);
}

std::string DatabaseDaConexao(const std::string& conexao) {
    try {
        const auto secao = readIniSection(conexao, "EMPRESA");
        return secao ? std::string(trimControl(ParamLines(*secao).valueOr("Database"))) : std::string();
    } catch (const std::exception&) {
        return {};  // the export itself will say what is wrong with the file
    }
}

namespace {
// The host and the path of a server's Database: "host[/port]:path" or "protocol://host[:port]/path".
std::pair<std::string, std::string> hostECaminho(const std::string& banco) {
    if (const auto protocolo = banco.find("://"); protocolo != std::string::npos) {
        const auto barra = banco.find('/', protocolo + 3);
        if (barra == std::string::npos) return {};
        std::string host = banco.substr(protocolo + 3, barra - protocolo - 3);
        if (const auto porta = host.rfind(':'); porta != std::string::npos && host.find(']') == std::string::npos)
            host.erase(porta);
        return {host, banco.substr(barra + 1)};
    }
    const auto doisPontos = banco.find(':');
    std::string host = banco.substr(0, doisPontos);
    if (const auto porta = host.find('/'); porta != std::string::npos) host.erase(porta);
    return {host, banco.substr(doisPontos + 1)};
}

// The file an embedded connection opens, as the system spells it.
std::string arquivoEmbutido(const std::string& banco) {
    std::error_code ec;
    const auto p = std::filesystem::weakly_canonical(CaminhoDoSistema(banco), ec);
    return ec ? banco : TextoDoCaminho(p);
}
}  // namespace

std::string ArquivoDoBancoNesteComputador(const std::string& conexao) {
    const std::string banco = DatabaseDaConexao(conexao);
    if (banco.empty()) return {};
    if (!BancoDeServidor(banco)) return arquivoEmbutido(banco);
    const auto [host, caminho] = hostECaminho(banco);
    for (const char* local : {"localhost", "127.0.0.1", "::1", "[::1]"})
        if (equalsIgnoreCase(host, local)) return caminho;
    return {};
}

std::string BancoEmbutido(const std::string& conexao) {
    const std::string banco = DatabaseDaConexao(conexao);
    return BancoDeServidor(banco) || banco.empty() ? std::string() : arquivoEmbutido(banco);
}

}  // namespace zorla
