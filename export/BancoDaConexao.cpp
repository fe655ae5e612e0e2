#include "export/BancoDaConexao.h"

#include <filesystem>

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

std::string DatabaseDaConexao(const std::string& conexao) {
    try {
        const auto secao = readIniSection(conexao, "EMPRESA");
        return secao ? std::string(trimControl(ParamLines(*secao).valueOr("Database"))) : std::string();
    } catch (const std::exception&) {
        return {};  // the export itself will say what is wrong with the file
    }
}

std::string BancoEmbutido(const std::string& conexao) {
    const std::string banco = DatabaseDaConexao(conexao);
    if (BancoDeServidor(banco) || banco.empty()) return {};
    std::error_code ec;
    const auto p = std::filesystem::weakly_canonical(banco, ec);
    return ec ? banco : p.string();
}

}  // namespace zorla
