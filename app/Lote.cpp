#include "app/Lote.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "base/Cp1252.h"
#include "base/TextUtil.h"
#include "data/DbError.h"
#include "data/IniFile.h"
#include "data/ParamLines.h"

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

}  // namespace zorla
