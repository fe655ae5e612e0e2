#include "export/Verificacao.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <string_view>

#include "base/Cp1252.h"
#include "base/Documentos.h"
#include "base/Formatacao.h"
#include "base/TextUtil.h"
#include "base/TextoVisivel.h"
#include "data/DMVantero.h"
#include "data/DbError.h"
#include "data/ResultTable.h"

namespace zorla {

namespace {

std::string valorMostrado(std::int64_t centavos) {
    std::string d = DigitosDecimais(Decimal{centavos});
    d.insert(d.size() - 2, ",");
    return d;
}

std::string_view semBrancosAoFim(std::string_view t) { return t.substr(0, t.find_last_not_of(' ') + 1); }

// The columns one check reads, found once by name in the result as the datasets find their fields; then read by
// their place in the list of names.
class Colunas {
public:
    Colunas(std::initializer_list<const char*> nomes) : m_nomes(nomes) {}
    void acha(const std::vector<ColumnInfo>& columns) {
        m_indices.clear();
        for (const char* nome : m_nomes) {
            auto it = std::find_if(columns.begin(), columns.end(),
                                   [&](const ColumnInfo& c) { return equalsIgnoreCase(c.name, nome); });
            if (it == columns.end()) throw DbError(std::string("Verificar: Field '") + nome + "' not found");
            m_indices.push_back(static_cast<std::size_t>(it - columns.begin()));
        }
    }
    const Cell& operator()(std::span<const Cell> row, int campo) const {
        return row[m_indices[static_cast<std::size_t>(campo)]];
    }
    const char* nome(int campo) const { return m_nomes[static_cast<std::size_t>(campo)]; }

private:
    std::vector<const char*> m_nomes;
    std::vector<std::size_t> m_indices;
};

// The label of a field's type in the operator's words.
const char* tipoEsperado(FieldType t) {
    switch (t) {
        case FieldType::Text: return "texto";
        case FieldType::Integer: return "inteiro";
        case FieldType::Decimal: return "numérico com casas decimais";
        case FieldType::Date: return "data";
        case FieldType::Unsupported: break;
    }
    return "?";
}

// Stops reading a result whose columns the export could not take: its rows would tell nothing more.
struct ColunasRecusadas {};

// Every column the export reads, with its type, as the export's datasets will ask for them: each one missing or of
// another type is an error, as the export stops on it.
void confereColunas(const ClientDataSet& leitor, const std::vector<ColumnInfo>& columns, const char* consulta,
                    std::deque<Problema>& problemas) {
    const std::vector<ClientDataSet::FieldMismatch> erradas = leitor.mismatches(columns);
    for (const ClientDataSet::FieldMismatch& m : erradas)
        problemas.push_back(Problema{
            Gravidade::Erro, consulta, m.field, m.actual,
            m.actual.empty() ? "coluna ausente no resultado do banco: a exportação para aqui"
                             : std::string("coluna do tipo ") + m.actual + " onde a exportação lê " +
                                   tipoEsperado(m.expected) + ": a exportação para aqui"});
    if (!erradas.empty()) throw ColunasRecusadas{};
}

// An amount in hundredths, as the records build it; an integer column holds whole units.
std::int64_t centavosDe(const Cell& c) { return c.type == FieldType::Integer ? c.number * 100 : c.number; }

// Reads a result into a check; false when its columns were refused and its rows not read.
bool leColunasAceitas(SqlQuery& consulta, RowReceiver& verificacao) {
    try {
        consulta.fetch(verificacao);
        return true;
    } catch (const ColunasRecusadas&) {
        return false;
    }
}

// What every check of one row shares: where the problems go and which document they name.
class Achados {
public:
    explicit Achados(std::deque<Problema>& problemas) : m_problemas(problemas) {}
    void documento(std::string nome) { m_documento = std::move(nome); }
    void acha(Gravidade g, std::string campo, std::string valor, std::string problema) {
        m_problemas.push_back(Problema{g, m_documento, std::move(campo), std::move(valor), std::move(problema)});
    }
    void valor(const Cell& c, const char* campo, std::size_t largura) {
        if (c.isNull()) return;
        const std::int64_t centavos = centavosDe(c);
        if (DigitosDoValor(centavos) > largura)
            acha(Gravidade::Erro, campo, valorMostrado(centavos),
                 "não cabe em " + std::to_string(largura) + " posições: a exportação para aqui");
    }
    void data(const Cell& c, const char* campo) {
        if (c.isNull()) acha(Gravidade::Aviso, campo, "", "data ausente: vai em branco");
    }
    // A control character in the part of the text that the record writes.
    void controles(std::string_view texto, const char* campo, std::size_t largura) {
        const std::string_view escrito = texto.substr(0, std::min(texto.size(), largura));
        if (std::any_of(escrito.begin(), escrito.end(), CaractereDeControle))
            acha(Gravidade::Aviso, campo, VisivelCp1252(escrito), "caractere de controle: vai como espaço");
    }
    void cortado(std::string_view texto, const char* campo, std::size_t largura) {
        if (semBrancosAoFim(texto).size() > largura)
            acha(Gravidade::Aviso, campo, VisivelCp1252(texto),
                 "texto cortado em " + std::to_string(largura) + " posições: vai \"" +
                     VisivelCp1252(texto.substr(0, largura)) + "\"");
    }

private:
    std::deque<Problema>& m_problemas;
    std::string m_documento;
};

// The same document number twice in the same grouping and series: the keys gathered, then sorted and compared.
class Repetidos {
public:
    void guarda(std::string_view agrupamento, std::string_view serie, std::string_view numero) {
        const std::size_t inicio = m_chaves.size();
        m_chaves.append(agrupamento).append(1, '\x1F').append(serie).append(1, '\x1F').append(numero);
        m_posicoes.push_back({inicio, m_chaves.size() - inicio});
    }
    void relata(Achados& achados, const char* livro) {
        auto chave = [&](const std::pair<std::size_t, std::size_t>& p) {
            return std::string_view(m_chaves).substr(p.first, p.second);
        };
        std::sort(m_posicoes.begin(), m_posicoes.end(), [&](auto& a, auto& b) { return chave(a) < chave(b); });
        for (std::size_t i = 0; i < m_posicoes.size();) {
            std::size_t j = i + 1;
            while (j < m_posicoes.size() && chave(m_posicoes[j]) == chave(m_posicoes[i])) ++j;
            if (j - i > 1) {
                const std::string_view k = chave(m_posicoes[i]);
                const std::string numero(k.substr(k.rfind('\x1F') + 1));
                std::string partes(k);
                std::replace(partes.begin(), partes.end(), '\x1F', '/');
                achados.documento(std::string(livro) + " " + VisivelCp1252(numero));
                achados.acha(Gravidade::Aviso, "NUMERODOC", VisivelCp1252(partes),
                             "número repetido no mesmo agrupamento e série (" + std::to_string(j - i) + " vezes)");
            }
            i = j;
        }
    }

private:
    std::string m_chaves;
    std::vector<std::pair<std::size_t, std::size_t>> m_posicoes;
};

// Each fiscal document of a book, as the sales or purchases record would write it.
class VerificaLivro : public RowReceiver {
    enum { NUMERODOC, AGRUPAMENTO, SERIEDOC, CFOP, ALIQUOTAICMS, DATAMOVIMENTO, DATADOCUMENTO, OBSERVACAO,
           ESTADOCLIENTE, ESTADO, CIDADECLIENTE, CNPJ, CPF, VALOR, BASEICMS, VALORICMS, ISENTO, OUTROS, BASEIPI,
           VALORIPI };

public:
    VerificaLivro(bool vendas, const ClientDataSet& leitor, std::deque<Problema>& problemas)
        : m_vendas(vendas), m_leitor(leitor), m_problemas(problemas), m_achados(problemas) {}

    void columns(const std::vector<ColumnInfo>& columns) override {
        confereColunas(m_leitor, columns, m_vendas ? "Consulta das vendas" : "Consulta das compras", m_problemas);
        m_c.acha(columns);
    }

    void row(std::span<const Cell> c) override {
        const std::string_view numero = m_c(c, NUMERODOC).text;
        m_achados.documento(std::string(m_vendas ? "Venda " : "Compra ") + VisivelCp1252(numero));
        for (int campo : {VALOR, BASEICMS, VALORICMS, ISENTO, OUTROS}) m_achados.valor(m_c(c, campo), m_c.nome(campo), 11);
        if (m_vendas)
            for (int campo : {BASEIPI, VALORIPI}) m_achados.valor(m_c(c, campo), m_c.nome(campo), 11);
        m_achados.valor(m_c(c, ALIQUOTAICMS), "ALIQUOTAICMS", 5);
        m_achados.data(m_c(c, DATAMOVIMENTO), "DATAMOVIMENTO");
        m_achados.data(m_c(c, DATADOCUMENTO), "DATADOCUMENTO");
        cadastro(m_c(c, CNPJ).text, m_c(c, CPF).text);
        cfop(m_c(c, CFOP).text);
        textos(c, numero);
        m_repetidos.guarda(m_c(c, AGRUPAMENTO).text, m_c(c, SERIEDOC).text, numero);
    }

    void termina() { m_repetidos.relata(m_achados, m_vendas ? "Venda" : "Compra"); }

private:
    // The tax id the record writes: the CNPJ, or the CPF when the CNPJ is empty or blanks only.
    void cadastro(std::string_view cnpj, std::string_view cpf) {
        const bool temCnpj = cnpj.find_first_not_of(' ') != std::string_view::npos;
        if (!temCnpj && cpf.find_first_not_of(' ') == std::string_view::npos)
            return m_achados.acha(Gravidade::Aviso, "CNPJ/CPF", "",
                                  m_vendas ? "cliente sem CNPJ nem CPF" : "fornecedor sem CNPJ nem CPF");
        const std::string_view id = temCnpj ? cnpj : cpf;
        const std::string numero = SemPontuacaoDoDocumento(id);
        const std::size_t tamanho = temCnpj ? 14 : 11;
        if (numero.size() != tamanho)
            m_achados.acha(Gravidade::Aviso, temCnpj ? "CNPJ" : "CPF", VisivelCp1252(id),
                           "tem " + std::to_string(numero.size()) + " caracteres em vez de " + std::to_string(tamanho));
        else if (!(temCnpj ? CnpjValido(numero) : CpfValido(numero)))
            m_achados.acha(Gravidade::Aviso, temCnpj ? "CNPJ" : "CPF", VisivelCp1252(id), "dígitos verificadores errados");
    }
    // Sales go out with CFOP 5, 6 or 7; purchases come in with 1, 2 or 3; no CFOP begins otherwise.
    void cfop(std::string_view cfop) {
        if (cfop.empty()) return;
        const std::string_view certos = m_vendas ? "567" : "123", doOutroSentido = m_vendas ? "123" : "567";
        if (certos.find(cfop[0]) != std::string_view::npos) return;
        const bool outroSentido = doOutroSentido.find(cfop[0]) != std::string_view::npos;
        m_achados.acha(Gravidade::Aviso, "CFOP", VisivelCp1252(cfop),
                       !outroSentido ? "CFOP inexistente: o primeiro dígito é 1, 2, 3, 5, 6 ou 7"
                       : m_vendas    ? "CFOP de entrada numa venda"
                                     : "CFOP de saída numa compra");
    }
    void textos(std::span<const Cell> c, std::string_view numero) {
        std::string doc(numero);
        for (std::size_t p = doc.find("NF"); p != std::string::npos; p = doc.find("NF", p + 2)) doc.replace(p, 2, "  ");
        m_achados.controles(numero, "NUMERODOC", 6);
        m_achados.cortado(doc, "NUMERODOC", 6);
        for (const auto& [campo, largura] : {std::pair{SERIEDOC, 3}, {CFOP, 4}, {ESTADO, 2}, {OBSERVACAO, 100}})
            m_achados.controles(m_c(c, campo).text, m_c.nome(campo), static_cast<std::size_t>(largura));
        m_achados.cortado(m_c(c, OBSERVACAO).text, "OBSERVACAO", 100);
        if (!m_vendas) return;
        m_achados.controles(m_c(c, ESTADOCLIENTE).text, "ESTADOCLIENTE", 2);
        m_achados.controles(m_c(c, CIDADECLIENTE).text, "CIDADECLIENTE", 7);
        m_achados.cortado(m_c(c, CIDADECLIENTE).text, "CIDADECLIENTE", 7);
    }

    bool m_vendas;
    const ClientDataSet& m_leitor;
    std::deque<Problema>& m_problemas;
    Achados m_achados;
    Colunas m_c{"NUMERODOC", "AGRUPAMENTO", "SERIEDOC",      "CFOP",  "ALIQUOTAICMS",  "DATAMOVIMENTO", "DATADOCUMENTO",
                "OBSERVACAO", "ESTADOCLIENTE", "ESTADO", "CIDADECLIENTE", "CNPJ",          "CPF",
                "VALOR",     "BASEICMS",    "VALORICMS", "ISENTO", "OUTROS",        "BASEIPI",       "VALORIPI"};
    Repetidos m_repetidos;
};

// Each cash/bank movement that goes into an entry file.
class VerificaMovimentos : public RowReceiver {
    enum { OPERACAO, DOCUMENTO, CREDORA, DEVEDORA, NOMECREDOR, NOMEDEVEDOR, VALOR, DATA, HISTORICO, PARCELA };

public:
    VerificaMovimentos(const ClientDataSet& leitor, std::deque<Problema>& problemas)
        : m_leitor(leitor), m_problemas(problemas), m_achados(problemas) {}

    void columns(const std::vector<ColumnInfo>& columns) override {
        confereColunas(m_leitor, columns, "Consulta do caixa/banco", m_problemas);
        m_c.acha(columns);
    }

    void row(std::span<const Cell> c) override {
        const std::string_view operacao = m_c(c, OPERACAO).text;
        if (operacao != "V" && operacao != "C" && operacao != "F") return;  // written to no file
        m_achados.documento(movimento(c));
        if (ContaAusente(m_c(c, CREDORA).text))
            m_achados.acha(Gravidade::Erro, "CREDORA", VisivelCp1252(m_c(c, NOMECREDOR).text), "sem código contábil definido");
        else if (ContaAusente(m_c(c, DEVEDORA).text))
            m_achados.acha(Gravidade::Erro, "DEVEDORA", VisivelCp1252(m_c(c, NOMEDEVEDOR).text), "sem código contábil definido");
        m_achados.valor(m_c(c, VALOR), "VALOR", 12);
        m_achados.data(m_c(c, DATA), "DATA");
        for (const auto& [campo, largura] : {std::pair{DEVEDORA, 7}, {CREDORA, 7}, {DOCUMENTO, 6}}) {
            m_achados.controles(m_c(c, campo).text, m_c.nome(campo), static_cast<std::size_t>(largura));
            m_achados.cortado(m_c(c, campo).text, m_c.nome(campo), static_cast<std::size_t>(largura));
        }
        if (operacao == "F") m_achados.controles(m_c(c, HISTORICO).text, "HISTORICO", 58);
    }

private:
    // A movement as an operator finds it in ZORLA: its document number alone is often blank or shared.
    std::string movimento(std::span<const Cell> c) const {
        std::string nome = "Caixa/Banco";
        if (const Cell& data = m_c(c, DATA); !data.isNull()) nome += " " + DataCurta(*data.value().date());
        if (const std::string_view doc = trimControl(m_c(c, DOCUMENTO).text); !doc.empty())
            nome += ", documento " + VisivelCp1252(doc);
        if (const Cell& parcela = m_c(c, PARCELA); !parcela.isNull()) nome += ", parcela " + std::to_string(parcela.number);
        if (const Cell& valor = m_c(c, VALOR); !valor.isNull())
            nome += ", R$ " + ValorFormatado(Decimal{centavosDe(valor)});
        std::string partes;
        for (int campo : {NOMECREDOR, NOMEDEVEDOR}) {
            const std::string_view n = trimControl(m_c(c, campo).text);
            if (n.empty()) continue;
            partes += (partes.empty() ? "" : " / ") + VisivelCp1252(n);
        }
        return partes.empty() ? nome : nome + ", " + partes;
    }

    const ClientDataSet& m_leitor;
    std::deque<Problema>& m_problemas;
    Achados m_achados;
    Colunas m_c{"OPERACAO", "DOCUMENTO", "CREDORA", "DEVEDORA", "NOMECREDOR", "NOMEDEVEDOR", "VALOR", "DATA",
                "HISTORICO", "PARCELA"};
};

}  // namespace

int ResultadoDaVerificacao::erros() const {
    return static_cast<int>(
        std::count_if(problemas.begin(), problemas.end(), [](const Problema& p) { return p.gravidade == Gravidade::Erro; }));
}

int ResultadoDaVerificacao::avisos() const { return static_cast<int>(problemas.size()) - erros(); }

std::string ContagemDosProblemas(const ResultadoDaVerificacao& r) {
    const int erros = r.erros(), avisos = static_cast<int>(r.problemas.size()) - erros;
    return std::to_string(erros) + (erros == 1 ? " erro, " : " erros, ") + std::to_string(avisos) +
           (avisos == 1 ? " aviso" : " avisos");
}

const char* NomeDaGravidade(Gravidade g) { return g == Gravidade::Erro ? "Erro" : "Aviso"; }

std::string_view RotuloDoCampo(std::string_view campo) {
    static constexpr std::pair<std::string_view, std::string_view> kRotulos[] = {
        {"NUMERODOC", "Número do documento (NUMERODOC)"},  {"SERIEDOC", "Série (SERIEDOC)"},
        {"CFOP", "Natureza da operação (CFOP)"},           {"ALIQUOTAICMS", "Alíquota do ICMS (ALIQUOTAICMS)"},
        {"DATAMOVIMENTO", "Data do movimento (DATAMOVIMENTO)"}, {"DATADOCUMENTO", "Data do documento (DATADOCUMENTO)"},
        {"OBSERVACAO", "Observação (OBSERVACAO)"},         {"ESTADOCLIENTE", "UF do cliente (ESTADOCLIENTE)"},
        {"ESTADO", "UF (ESTADO)"},                         {"CIDADECLIENTE", "Cidade do cliente (CIDADECLIENTE)"},
        {"CNPJ", "CNPJ (CNPJ)"},                           {"CPF", "CPF (CPF)"},
        {"CNPJ/CPF", "CNPJ ou CPF (CNPJ/CPF)"},            {"VALOR", "Valor (VALOR)"},
        {"BASEICMS", "Base do ICMS (BASEICMS)"},           {"VALORICMS", "Valor do ICMS (VALORICMS)"},
        {"ISENTO", "Isento (ISENTO)"},                     {"OUTROS", "Outros (OUTROS)"},
        {"BASEIPI", "Base do IPI (BASEIPI)"},              {"VALORIPI", "Valor do IPI (VALORIPI)"},
        {"CREDORA", "Conta credora (CREDORA)"},            {"DEVEDORA", "Conta devedora (DEVEDORA)"},
        {"DOCUMENTO", "Documento (DOCUMENTO)"},            {"DATA", "Data (DATA)"},
        {"HISTORICO", "Histórico (HISTORICO)"},
    };
    for (const auto& [nome, rotulo] : kRotulos)
        if (nome == campo) return rotulo;
    return campo;
}

std::array<std::string_view, 5> ColunasDoProblema(const Problema& p) {
    return {NomeDaGravidade(p.gravidade), p.documento, RotuloDoCampo(p.campo), p.valor, p.problema};
}

std::size_t DigitosDoValor(std::int64_t centavos) {
    std::uint64_t a = centavos < 0 ? static_cast<std::uint64_t>(-(centavos + 1)) + 1 : static_cast<std::uint64_t>(centavos);
    std::size_t n = 1;
    while (a >= 10) a /= 10, ++n;
    return std::max<std::size_t>(n, 3) + (centavos < 0 ? 1 : 0);
}

ResultadoDaVerificacao Verifica(TFDMExporta& dm, const Periodo& periodo, std::int64_t empresa) {
    ResultadoDaVerificacao r;
    for (const char* tipo : {"S", "E"}) {
        dm.PreparaSaidas(tipo, periodo.DataInicial, periodo.DataFinal, empresa);
        VerificaLivro livro(*tipo == 'S', dm.CDSSaidas, r.problemas);
        if (leColunasAceitas(dm.QSaidas, livro)) livro.termina();
    }
    dm.PreparaMovimento(periodo.DataInicial, periodo.DataFinal);
    VerificaMovimentos movimentos(dm.CDSMovimento, r.problemas);
    leColunasAceitas(dm.SQLMovimento, movimentos);
    // What stops the export first; each kind in the export's order. The errors are few as a rule: they move, the
    // millions of warnings are not copied aside.
    auto erro = [](const Problema& p) { return p.gravidade == Gravidade::Erro; };
    std::vector<Problema> erros;
    for (Problema& p : r.problemas)
        if (erro(p)) erros.push_back(std::move(p));
    r.problemas.erase(std::remove_if(r.problemas.begin(), r.problemas.end(), erro), r.problemas.end());
    r.problemas.insert(r.problemas.begin(), std::make_move_iterator(erros.begin()), std::make_move_iterator(erros.end()));
    return r;
}

}  // namespace zorla
