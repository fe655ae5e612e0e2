#include "cli/Lote.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>

#include "base/ArquivoParaLer.h"
#include "base/Caminho.h"
#include "base/Cp1252.h"
#include "base/TextUtil.h"
#include "base/TextoVisivel.h"
#include "export/PedidoDeExportacao.h"
#include "sistema/IdentidadeDoCaminho.h"

namespace zorla {

namespace {

// Blanks around a field or a line are a person's spacing; any other control character, even at an end, is refused
// with the field, not trimmed away.
std::string_view semBrancos(std::string_view texto) {
    const auto inicio = texto.find_first_not_of(" \t");
    if (inicio == std::string_view::npos) return {};
    return texto.substr(inicio, texto.find_last_not_of(" \t") - inicio + 1);
}

std::vector<std::string> campos(std::string_view linha) {
    std::vector<std::string> out;
    for (std::size_t inicio = 0;;) {
        const std::size_t fim = linha.find(';', inicio);
        out.emplace_back(semBrancos(linha.substr(inicio, fim == std::string_view::npos ? linha.npos : fim - inicio)));
        if (fim == std::string_view::npos) return out;
        inicio = fim + 1;
    }
}

std::string relativoAo(const std::filesystem::path& pasta, const std::string& caminho) {
    const std::filesystem::path p = CaminhoDoSistema(caminho);
    return p.is_absolute() ? caminho : TextoDoCaminho(pasta / p);
}

ItemDoLote item(std::string_view linha, int numero, const std::filesystem::path& pasta) {
    auto erro = [&](const std::string& texto) {
        return std::invalid_argument("lote, linha " + std::to_string(numero) + ": " + texto);
    };
    const std::vector<std::string> c = campos(linha);
    if (c.size() != 4) throw erro("esperados 4 campos separados por ';' (conexão;empresa;código;pasta)");
    // A NUL would cut a path short where the system reads it; no control character inside a field is intended.
    for (const std::string& campo : c)
        if (const std::string visivel = Visivel(campo); visivel != campo)
            throw erro("o campo \"" + visivel + "\" tem caracteres de controle");
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
        i.codigo = CodigoParaOsRegistros(c[2]);
    } catch (const std::invalid_argument& e) {
        throw erro(e.what());
    }
    if (c[3].empty()) throw erro("Informe a pasta de saída.");
    i.pasta = relativoAo(pasta, c[3]);
    return i;
}

}  // namespace

namespace {
// A batch file is text a person wrote: a regular file of a reasonable size. A device, a pipe or a folder would
// block, grow without end or fail as no text does.
std::string bytesDoLote(const std::string& arquivo) {
    try {
        return ArquivoParaLer(arquivo, kTamanhoMaximoDoLote, "O lote").tudo();
    } catch (const std::runtime_error& e) {
        throw std::invalid_argument(e.what());
    }
}
}  // namespace

namespace {
std::vector<ItemDoLote> leLote(const std::string& arquivo) {
    std::string bytes = bytesDoLote(arquivo);
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
    std::istringstream texto(utf8Valido(bytes) ? bytes : cp1252ToUtf8(bytes));
    const std::filesystem::path pasta = std::filesystem::absolute(CaminhoDoSistema(arquivo)).parent_path();
    std::vector<ItemDoLote> itens;
    std::string linha;
    for (int numero = 1; std::getline(texto, linha); ++numero) {
        std::string_view l = linha;
        if (l.ends_with('\r')) l.remove_suffix(1);
        l = semBrancos(l);
        if (l.empty() || l.front() == '#') continue;
        itens.push_back(item(l, numero, pasta));
    }
    if (itens.empty()) throw std::invalid_argument("o lote \"" + arquivo + "\" não tem nenhuma exportação");
    return itens;
}
}  // namespace

OuRecusa<std::vector<ItemDoLote>> LeLote(const std::string& arquivo) {
    try {
        return leLote(arquivo);
    } catch (const std::invalid_argument& e) {
        return Recusa{e.what()};
    }
}

OuRecusa<void> ExaminaPastasRepetidas(const std::vector<ItemDoLote>& itens) {
    std::map<std::string, int> linhas;
    for (const ItemDoLote& item : itens) {
        const auto [outra, nova] = linhas.emplace(IdentidadeDoCaminho(DiretorioDe(item.pasta)), item.linha);
        if (!nova)
            return Recusa{"lote, linha " + std::to_string(item.linha) + ": a pasta \"" + item.pasta +
                          "\" é também a da linha " + std::to_string(outra->second) +
                          ", e os arquivos de uma exportação apagariam os da outra"};
    }
    return {};
}

}  // namespace zorla
