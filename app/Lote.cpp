#include "app/Lote.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>

#include "base/Cp1252.h"
#include "base/TextUtil.h"
#include "data/DbError.h"
#include "data/IniFile.h"
#include "data/ParamLines.h"
#include "export/Sessao.h"

namespace zorla {

namespace {

std::vector<std::string> campos(std::string_view linha) {
    std::vector<std::string> out;
    for (std::size_t inicio = 0;;) {
        const std::size_t fim = linha.find(';', inicio);
        out.emplace_back(trimControl(linha.substr(inicio, fim == std::string_view::npos ? linha.npos : fim - inicio)));
        if (fim == std::string_view::npos) return out;
        inicio = fim + 1;
    }
}

std::string relativoAo(const std::filesystem::path& pasta, const std::string& caminho) {
    const std::filesystem::path p(caminho);
    return p.is_absolute() ? caminho : (pasta / p).string();
}

ItemDoLote item(std::string_view linha, int numero, const std::filesystem::path& pasta, std::vector<std::string>& avisos) {
    auto erro = [&](const std::string& texto) {
        return std::invalid_argument("lote, linha " + std::to_string(numero) + ": " + texto);
    };
    const std::vector<std::string> c = campos(linha);
    if (c.size() != 4) throw erro("esperados 4 campos separados por ';' (conexão;empresa;código;pasta)");
    ItemDoLote i;
    i.linha = numero;
    i.conexao = relativoAo(pasta, c[0]);
    try {
        std::size_t fim = 0;
        i.empresa = std::stoi(c[1], &fim);
        if (fim != c[1].size() || i.empresa < 0) throw std::invalid_argument(c[1]);
    } catch (const std::exception&) {
        throw erro("empresa inválida: '" + c[1] + "'");
    }
    try {
        i.codigo = CodigoParaOsRegistros(c[2], avisos);
    } catch (const std::invalid_argument& e) {
        throw erro(e.what());
    }
    if (c[3].empty()) throw erro("Informe a pasta de saída.");
    i.pasta = relativoAo(pasta, c[3]);
    return i;
}

}  // namespace

std::vector<ItemDoLote> LeLote(const std::string& arquivo, std::vector<std::string>& avisos) {
    std::ifstream in(arquivo, std::ios::binary);
    if (!in) throw std::invalid_argument("não foi possível abrir o lote \"" + arquivo + "\"");
    std::string bytes(std::istreambuf_iterator<char>(in), {});
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
    std::istringstream texto(utf8Valido(bytes) ? bytes : cp1252ToUtf8(bytes));
    const std::filesystem::path pasta = std::filesystem::absolute(arquivo).parent_path();
    std::vector<ItemDoLote> itens;
    std::string linha;
    for (int numero = 1; std::getline(texto, linha); ++numero) {
        const std::string_view l = trimControl(linha);
        if (l.empty() || l.front() == '#') continue;
        itens.push_back(item(l, numero, pasta, avisos));
    }
    if (itens.empty()) throw std::invalid_argument("o lote \"" + arquivo + "\" não tem nenhuma exportação");
    return itens;
}

namespace {
std::string canonico(const std::string& caminho) {
    std::error_code ec;
    const auto p = std::filesystem::weakly_canonical(caminho, ec);
    return ec ? caminho : p.string();
}
}  // namespace

bool BancoDeServidor(std::string_view database) {
    for (std::string_view protocolo : {"inet://", "inet4://", "inet6://", "wnet://", "xnet://"})
        if (database.starts_with(protocolo)) return true;
    if (database.starts_with("\\\\")) return true;  // \\host\path
    // "C:\dados.fdb" has its colon second; a path of this system starts with its separator.
    const std::size_t doisPontos = database.find(':');
    if (doisPontos == std::string_view::npos || doisPontos < 2 || database.front() == '/') return false;
    return database.substr(0, doisPontos).find('\\') == std::string_view::npos;
}

void RecusaPastasRepetidas(const std::vector<ItemDoLote>& itens) {
    std::map<std::string, int> linhas;
    for (const ItemDoLote& item : itens) {
        const auto [outra, nova] = linhas.emplace(canonico(DiretorioDe(item.pasta)), item.linha);
        if (!nova)
            throw std::invalid_argument("lote, linha " + std::to_string(item.linha) + ": a pasta \"" + item.pasta +
                                        "\" é também a da linha " + std::to_string(outra->second) +
                                        ", e os arquivos de uma exportação apagariam os da outra");
    }
}

std::string BancoEmbutido(const std::string& conexao) {
    try {
        const auto secao = readIniSection(conexao, "EMPRESA");
        if (!secao) return {};
        const std::string banco(trimControl(ParamLines(*secao).valueOr("Database")));
        return BancoDeServidor(banco) || banco.empty() ? std::string() : canonico(banco);
    } catch (const std::exception&) {
        return {};  // the export itself will say what is wrong with the file
    }
}

}  // namespace zorla
