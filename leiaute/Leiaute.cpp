#include "leiaute/Leiaute.h"

#include <algorithm>
#include <stdexcept>

namespace zorla {

namespace {

using R = Regra;

// clang-format off: one field a line, in the order written

constexpr CampoDoLeiaute kSaida[] = {
    {"Tipo do registro", 1, R::Fixo, 'S'},
    {"Código da empresa", 4, R::Dado},
    {"DATAMOVIMENTO", 8, R::AnoMesDia, ' ', {}, "Data do movimento"},
    {"NUMERODOC", 6, R::Documento, ' ', {}, "Número do documento"},
    {"NUMERODOC", 6, R::Documento, ' ', {}, "Número do documento"},
    {"SERIEDOC", 3, R::Texto, ' ', {}, "Série"},
    {"TIPO", 4, R::Texto},
    {"Brancos", 1 + 3, R::Fixo},
    {"CFOP", 4, R::Texto, ' ', {}, "Natureza da operação"},
    {"Brancos", 6 + 7, R::Fixo},
    {"ALIQUOTAICMS", 5, R::Valor, ' ', {}, "Alíquota do ICMS"},
    {"DATADOCUMENTO", 8, R::DiaMesAno, ' ', {}, "Data do documento"},
    {"Brancos", 3, R::Fixo},
    {"OBSERVACAO", 100, R::Texto, ' ', {}, "Observação"},
    {"ESTADOCLIENTE", 2, R::Texto, ' ', {}, "UF do cliente"},
    {"ESTADO", 2, R::Texto, ' ', {}, "UF"},
    {"CIDADECLIENTE", 7, R::Texto, ' ', {}, "Cidade do cliente"},
    {"CNPJ", 14, R::Cadastro, ' ', "CPF", "CNPJ"},
    {"VALOR", 11, R::Valor, '0', {}, "Valor"},
    {"BASEICMS", 11, R::Valor, '0', {}, "Base do ICMS"},
    {"VALORICMS", 11, R::Valor, '0', {}, "Valor do ICMS"},
    {"ISENTO", 11, R::Valor, '0', {}, "Isento"},
    {"OUTROS", 11, R::Valor, '0', {}, "Outros"},
    {"Zeros", 11, R::Fixo, '0'},
    {"BASEIPI", 11, R::Valor, '0', {}, "Base do IPI"},
    {"VALORIPI", 11, R::Valor, '0', {}, "Valor do IPI"},
    {"Zeros", 11 + 11 + 11, R::Fixo, '0'},
    {"BASEICMS", 11, R::Valor, '0', {}, "Base do ICMS"},
    {"Zeros", 11 + 11, R::Fixo, '0'},
    {"Brancos", 197 + 2, R::Fixo},
};

constexpr CampoDoLeiaute kEntrada[] = {
    {"Tipo do registro", 1, R::Fixo, 'E'},
    {"Código da empresa", 4, R::Dado},
    {"DATAMOVIMENTO", 8, R::AnoMesDia, ' ', {}, "Data do movimento"},
    {"CNPJ", 14, R::Cadastro, ' ', "CPF", "CNPJ"},
    {"NUMERODOC", 6, R::Documento, ' ', {}, "Número do documento"},
    {"SERIEDOC", 3, R::Texto, ' ', {}, "Série"},
    {"TIPO", 4, R::Texto},
    {"CFOP", 4, R::Texto, ' ', {}, "Natureza da operação"},
    {"Brancos", 6 + 7, R::Fixo},
    {"ALIQUOTAICMS", 5, R::Valor, ' ', {}, "Alíquota do ICMS"},
    {"DATADOCUMENTO", 8, R::DiaMesAno, ' ', {}, "Data do documento"},
    {"Brancos", 7, R::Fixo},
    {"OBSERVACAO", 100, R::Texto, ' ', {}, "Observação"},
    {"ESTADO", 2, R::Texto, ' ', {}, "UF"},
    {"Brancos", 2 + 4, R::Fixo},
    {"VALOR", 11, R::Valor, '0', {}, "Valor"},
    {"BASEICMS", 11, R::Valor, '0', {}, "Base do ICMS"},
    {"VALORICMS", 11, R::Valor, '0', {}, "Valor do ICMS"},
    {"ISENTO", 11, R::Valor, '0', {}, "Isento"},
    {"OUTROS", 11, R::Valor, '0', {}, "Outros"},
    {"Zeros", 11, R::Fixo, '0'},
};

// The history comes from HISTORICO or from the kind of movement, over one or two lines: the writer gives it.
constexpr CampoDoLeiaute kLancamento[] = {
    {"DEVEDORA", 7, R::Texto, ' ', {}, "Conta devedora"},
    {"CREDORA", 7, R::Texto, ' ', {}, "Conta credora"},
    {"Brancos", 2, R::Fixo},
    {"DOCUMENTO", 6, R::Texto, ' ', {}, "Documento"},
    {"Brancos", 5, R::Fixo},
    {"Linha", 1, R::Dado, ' ', {}, "Linha do movimento"},
    {"Histórico", 29, R::Dado},
    {"VALOR", 12, R::Valor, '0', {}, "Valor"},
    {"DATA", 6, R::DiaMesAno2, ' ', {}, "Data"},
};

// clang-format on

// The register's second column, and the two as one: a check may name either.
constexpr std::pair<std::string_view, std::string_view> kOutrosDoCadastro[] = {{"CPF", "CPF"},
                                                                               {"CNPJ/CPF", "CNPJ ou CPF"}};
// General expenses write their own HISTORICO into the history the writer gives.
constexpr std::pair<std::string_view, std::string_view> kOutrosDoLancamento[] = {{"HISTORICO", "Histórico"}};

constexpr Leiaute kLeiauteSaida{"Livro de saídas", "NUMERODOC", kSaida, kOutrosDoCadastro};
constexpr Leiaute kLeiauteEntrada{"Livro de entradas", "NUMERODOC", kEntrada, kOutrosDoCadastro};
constexpr Leiaute kLeiauteLancamento{"Lançamentos", "DOCUMENTO", kLancamento, kOutrosDoLancamento};

}  // namespace

std::size_t Leiaute::largura() const { return inicio(campos.size()); }

std::size_t Leiaute::inicio(std::size_t campo) const {
    std::size_t p = 0;
    for (std::size_t i = 0; i < campo; ++i) p += campos[i].largura;
    return p;
}

std::size_t Leiaute::indice(std::string_view n) const {
    for (std::size_t i = 0; i < campos.size(); ++i)
        if (campos[i].nome == n) return i;
    throw std::logic_error("leiaute " + std::string(nome) + " sem o campo " + std::string(n));
}

std::string_view Leiaute::campo(std::string_view linha, std::size_t c) const {
    const std::size_t i = inicio(c);
    return i < linha.size() ? linha.substr(i, campos[c].largura) : std::string_view();
}

std::vector<std::size_t> Leiaute::camposComNome() const {
    std::vector<std::size_t> i;
    for (std::size_t c = 0; c < campos.size(); ++c)
        if (campos[c].regra != Regra::Fixo || campos[c].largura == 1) i.push_back(c);
    return i;
}

std::string Leiaute::titulo(std::size_t campo, bool rotulado) const {
    const CampoDoLeiaute& f = campos[campo];
    std::size_t vez = 1;
    for (std::size_t c = 0; c < campo; ++c) vez += campos[c].nome == f.nome;
    const std::string_view nome = rotulado && !f.rotulo.empty() ? f.rotulo : f.nome;
    return std::string(nome) + (vez > 1 ? " (" + std::to_string(vez) + ")" : "");
}

const Leiaute& LeiauteDaSaida() { return kLeiauteSaida; }
const Leiaute& LeiauteDaEntrada() { return kLeiauteEntrada; }
const Leiaute& LeiauteDoLancamento() { return kLeiauteLancamento; }

const Leiaute& LeiauteDoTipo(TipoArquivo tipo) {
    if (tipo == TipoArquivo::LivroSaidas) return LeiauteDaSaida();
    if (tipo == TipoArquivo::LivroEntradas) return LeiauteDaEntrada();
    return LeiauteDoLancamento();
}

namespace {
// Every labelled column once, the first layout's label first: "Rótulo (NOME)", made the first time it is asked for.
std::vector<std::pair<std::string_view, std::string>> rotulos() {
    std::vector<std::pair<std::string_view, std::string>> r;
    const auto poe = [&r](std::string_view nome, std::string_view rotulo) {
        if (rotulo.empty() || std::any_of(r.begin(), r.end(), [&](const auto& p) { return p.first == nome; })) return;
        r.emplace_back(nome, std::string(rotulo) + " (" + std::string(nome) + ")");
    };
    for (const Leiaute* l : {&kLeiauteSaida, &kLeiauteEntrada, &kLeiauteLancamento}) {
        for (const CampoDoLeiaute& f : l->campos) poe(f.nome, f.rotulo);
        for (const auto& [nome, rotulo] : l->outrosRotulos) poe(nome, rotulo);
    }
    return r;
}
}  // namespace

std::string_view RotuloDoCampo(std::string_view campo) {
    static const std::vector<std::pair<std::string_view, std::string>> kRotulos = rotulos();
    for (const auto& [nome, rotulo] : kRotulos)
        if (nome == campo) return rotulo;
    return campo;
}

void TextoDaRegra(Regra regra, std::string_view texto, std::string& saida) {
    saida.assign(texto);
    if (regra == Regra::Documento) {
        for (std::size_t p = saida.find("NF"); p != std::string::npos; p = saida.find("NF", p + 2))
            saida.replace(p, 2, "  ");
    } else if (regra == Regra::Cadastro) {
        saida.erase(std::remove_if(saida.begin(), saida.end(), [](char c) { return c == '.' || c == '-'; }),
                    saida.end());
    }
}

std::size_t DigitosDoValor(std::int64_t centavos) {
    std::uint64_t a =
        centavos < 0 ? static_cast<std::uint64_t>(-(centavos + 1)) + 1 : static_cast<std::uint64_t>(centavos);
    std::size_t n = 1;
    while (a >= 10) a /= 10, ++n;
    return std::max<std::size_t>(n, 3) + (centavos < 0 ? 1 : 0);
}

}  // namespace zorla
