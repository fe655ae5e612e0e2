#include "export/Leiaute.h"

#include <algorithm>
#include <stdexcept>

namespace zorla {

namespace {

using R = Regra;

// clang-format off: one field a line, in the order written

constexpr CampoDoLeiaute kSaida[] = {
    {"Tipo do registro", 1, R::Fixo, 'S'},
    {"Código da empresa", 4, R::Dado},
    {"DATAMOVIMENTO", 8, R::AnoMesDia},
    {"NUMERODOC", 6, R::Documento},
    {"NUMERODOC", 6, R::Documento},
    {"SERIEDOC", 3, R::Texto},
    {"TIPO", 4, R::Texto},
    {"Brancos", 1 + 3, R::Fixo},
    {"CFOP", 4, R::Texto},
    {"Brancos", 6 + 7, R::Fixo},
    {"ALIQUOTAICMS", 5, R::Valor, ' '},
    {"DATADOCUMENTO", 8, R::DiaMesAno},
    {"Brancos", 3, R::Fixo},
    {"OBSERVACAO", 100, R::Texto},
    {"ESTADOCLIENTE", 2, R::Texto},
    {"ESTADO", 2, R::Texto},
    {"CIDADECLIENTE", 7, R::Texto},
    {"CNPJ", 14, R::Cadastro, ' ', "CPF"},
    {"VALOR", 11, R::Valor, '0'},
    {"BASEICMS", 11, R::Valor, '0'},
    {"VALORICMS", 11, R::Valor, '0'},
    {"ISENTO", 11, R::Valor, '0'},
    {"OUTROS", 11, R::Valor, '0'},
    {"Zeros", 11, R::Fixo, '0'},
    {"BASEIPI", 11, R::Valor, '0'},
    {"VALORIPI", 11, R::Valor, '0'},
    {"Zeros", 11 + 11 + 11, R::Fixo, '0'},
    {"BASEICMS", 11, R::Valor, '0'},
    {"Zeros", 11 + 11, R::Fixo, '0'},
    {"Brancos", 197 + 2, R::Fixo},
};

constexpr CampoDoLeiaute kEntrada[] = {
    {"Tipo do registro", 1, R::Fixo, 'E'},
    {"Código da empresa", 4, R::Dado},
    {"DATAMOVIMENTO", 8, R::AnoMesDia},
    {"CNPJ", 14, R::Cadastro, ' ', "CPF"},
    {"NUMERODOC", 6, R::Documento},
    {"SERIEDOC", 3, R::Texto},
    {"TIPO", 4, R::Texto},
    {"CFOP", 4, R::Texto},
    {"Brancos", 6 + 7, R::Fixo},
    {"ALIQUOTAICMS", 5, R::Valor, ' '},
    {"DATADOCUMENTO", 8, R::DiaMesAno},
    {"Brancos", 7, R::Fixo},
    {"OBSERVACAO", 100, R::Texto},
    {"ESTADO", 2, R::Texto},
    {"Brancos", 2 + 4, R::Fixo},
    {"VALOR", 11, R::Valor, '0'},
    {"BASEICMS", 11, R::Valor, '0'},
    {"VALORICMS", 11, R::Valor, '0'},
    {"ISENTO", 11, R::Valor, '0'},
    {"OUTROS", 11, R::Valor, '0'},
    {"Zeros", 11, R::Fixo, '0'},
};

// The history comes from HISTORICO or from the kind of movement, over one or two lines: the writer gives it.
constexpr CampoDoLeiaute kLancamento[] = {
    {"DEVEDORA", 7, R::Texto},
    {"CREDORA", 7, R::Texto},
    {"Brancos", 2, R::Fixo},
    {"DOCUMENTO", 6, R::Texto},
    {"Brancos", 5, R::Fixo},
    {"Linha", 1, R::Dado},
    {"Histórico", 29, R::Dado},
    {"VALOR", 12, R::Valor, '0'},
    {"DATA", 6, R::DiaMesAno2},
};

// clang-format on

constexpr Leiaute kLeiauteSaida{"Livro de saídas", "NUMERODOC", kSaida};
constexpr Leiaute kLeiauteEntrada{"Livro de entradas", "NUMERODOC", kEntrada};
constexpr Leiaute kLeiauteLancamento{"Lançamentos", "DOCUMENTO", kLancamento};

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

std::string Leiaute::titulo(std::size_t campo) const {
    std::size_t vez = 1;
    for (std::size_t c = 0; c < campo; ++c) vez += campos[c].nome == campos[campo].nome;
    return std::string(campos[campo].nome) + (vez > 1 ? " (" + std::to_string(vez) + ")" : "");
}

const Leiaute& LeiauteDaSaida() { return kLeiauteSaida; }
const Leiaute& LeiauteDaEntrada() { return kLeiauteEntrada; }
const Leiaute& LeiauteDoLancamento() { return kLeiauteLancamento; }

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
