#include "leiaute/TipoArquivo.h"

#include <iterator>
#include <stdexcept>

namespace zorla {

namespace {
struct NomeDoArquivo {
    TipoArquivo tipo;
    const char* prefixo;
    const char* extensao;
    const char* sigla;
};
constexpr NomeDoArquivo kNomes[] = {
    {TipoArquivo::LivroSaidas, "", ".SAI", "SAI"},       {TipoArquivo::LivroEntradas, "", ".ENT", "ENT"},
    {TipoArquivo::Recebimentos, "ctr", ".txt", "ctr"},   {TipoArquivo::Pagamentos, "pag", ".txt", "pag"},
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

std::string NomeDoArquivoDoTipo(TipoArquivo tipo, const std::string& nomeArquivo) {
    const NomeDoArquivo& n = nomeDo(tipo);
    return n.prefixo + nomeArquivo + n.extensao;
}

std::string CaminhoDoArquivo(TipoArquivo tipo, const std::string& diretorio, const std::string& nomeArquivo) {
    return diretorio + NomeDoArquivoDoTipo(tipo, nomeArquivo);
}

const char* SiglaDoArquivo(TipoArquivo tipo) { return nomeDo(tipo).sigla; }

std::optional<TipoArquivo> TipoPeloNome(std::string_view nome) {
    for (const NomeDoArquivo& n : kNomes) {
        const std::string_view prefixo = n.prefixo, extensao = n.extensao;
        // A base name of at least one character between the two.
        if (nome.size() > prefixo.size() + extensao.size() && nome.starts_with(prefixo) && nome.ends_with(extensao))
            return n.tipo;
    }
    return std::nullopt;
}

std::string BaseDoNome(std::string_view nome, TipoArquivo tipo) {
    const NomeDoArquivo& n = nomeDo(tipo);
    const std::size_t prefixo = std::string_view(n.prefixo).size(), extensao = std::string_view(n.extensao).size();
    return std::string(nome.substr(prefixo, nome.size() - prefixo - extensao));
}

}  // namespace zorla
