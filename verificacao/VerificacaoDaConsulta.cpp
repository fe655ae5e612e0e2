#include "verificacao/VerificacaoDaConsulta.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "base/Cp1252.h"
#include "base/Documentos.h"
#include "base/Formatacao.h"
#include "base/TextUtil.h"
#include "base/TextoVisivel.h"
#include "data/ClientDataSet.h"
#include "data/DbError.h"
#include "leiaute/Leiaute.h"
#include "leiaute/PassosDoMovimento.h"

namespace zorla {

namespace {

std::string valorMostrado(std::int64_t centavos) {
    std::string d = DigitosDecimais(Decimal{centavos});
    d.insert(d.size() - 2, ",");
    return d;
}

std::string_view semBrancosAoFim(std::string_view t) { return t.substr(0, t.find_last_not_of(' ') + 1); }

// Where a column lies in a result, found by name as the datasets find their fields.
int colunaDe(const std::vector<ColumnInfo>& columns, std::string_view nome) {
    auto it = std::find_if(columns.begin(), columns.end(),
                           [&](const ColumnInfo& c) { return equalsIgnoreCase(c.name, nome); });
    if (it == columns.end()) throw DbError("Verificar: Field '" + std::string(nome) + "' not found");
    return static_cast<int>(it - columns.begin());
}

// The label of a field's type in the operator's words.
const char* tipoEsperado(FieldType t) {
    switch (t) {
        case FieldType::Text:
            return "texto";
        case FieldType::Integer:
            return "inteiro";
        case FieldType::Decimal:
            return "numérico com casas decimais";
        case FieldType::Date:
            return "data";
        case FieldType::Unsupported:
            break;
    }
    return "?";
}

// Every column the export reads, with its type, as the export's datasets will ask for them: each one missing or of
// another type is an error, as the export stops on it; false when there is any: the rows would tell nothing more.
bool confereColunas(const ClientDataSet& leitor, const std::vector<ColumnInfo>& columns, const char* consulta,
                    DestinoDosProblemas& problemas) {
    const std::vector<ClientDataSet::FieldMismatch> erradas = leitor.mismatches(columns);
    for (const ClientDataSet::FieldMismatch& m : erradas)
        problemas.achou(Problema{Gravidade::Erro, consulta, m.field, m.actual,
                                 m.actual.empty()
                                     ? "coluna ausente no resultado do banco: a exportação para aqui"
                                     : std::string("coluna do tipo ") + m.actual + " onde a exportação lê " +
                                           tipoEsperado(m.expected) + ": a exportação para aqui"});
    return erradas.empty();
}

// An amount in hundredths, as the records build it; an integer column holds whole units.
std::int64_t centavosDe(const Cell& c) { return c.type == FieldType::Integer ? c.number * 100 : c.number; }

// What every check of one row shares: where the problems go and which document they name.
class Achados {
public:
    explicit Achados(DestinoDosProblemas& problemas) : m_problemas(problemas) {}
    void documento(std::string nome) { m_documento = std::move(nome); }
    void acha(Gravidade g, std::string_view campo, std::string valor, std::string problema) {
        m_problemas.achou(Problema{g, m_documento, std::string(campo), std::move(valor), std::move(problema)});
    }
    void valor(const Cell& c, std::string_view campo, std::size_t largura) {
        if (c.isNull()) return;
        const std::int64_t centavos = centavosDe(c);
        if (DigitosDoValor(centavos) > largura)
            acha(Gravidade::Erro, campo, valorMostrado(centavos),
                 "não cabe em " + std::to_string(largura) + " posições: a exportação para aqui");
    }
    void data(const Cell& c, std::string_view campo) {
        if (c.isNull()) acha(Gravidade::Aviso, campo, "", "data ausente: vai em branco");
    }
    // A control character in the part of the text that the record writes; the value shown is the one stored, for
    // the operator to find it.
    void controles(std::string_view lido, std::string_view escrito, std::string_view campo, std::size_t largura) {
        escrito = escrito.substr(0, std::min(escrito.size(), largura));
        if (std::any_of(escrito.begin(), escrito.end(), CaractereDeControle))
            acha(Gravidade::Aviso, campo, VisivelCp1252(lido), "caractere de controle: vai como espaço");
    }
    // `escrito` is the text after its field's rule: what the record cuts.
    void cortado(std::string_view lido, std::string_view escrito, std::string_view campo, std::size_t largura) {
        if (semBrancosAoFim(escrito).size() > largura)
            acha(Gravidade::Aviso, campo, VisivelCp1252(lido),
                 "texto cortado em " + std::to_string(largura) + " posições: vai \"" +
                     VisivelCp1252(escrito.substr(0, largura)) + "\"");
    }

private:
    DestinoDosProblemas& m_problemas;
    std::string m_documento;
};

// What a record's layout says of each column it reads: an amount too wide, a missing date, a text cut or holding
// a control character, judged on what the field will write.
class RegrasDoLeiaute {
public:
    // A field the dataset calculates (TIPO) is not in the result: what it holds is the dataset's own.
    RegrasDoLeiaute(const Leiaute& leiaute, const ClientDataSet& leitor) {
        for (const CampoDoLeiaute& f : leiaute.campos) {
            const bool visto =
                std::any_of(m_campos.begin(), m_campos.end(), [&](auto* c) { return c->nome == f.nome; });
            if (!f.leColuna() || visto) continue;
            if (!leitor.fields()[static_cast<std::size_t>(leitor.fieldIndex(f.nome))].calculated)
                m_campos.push_back(&f);
        }
    }
    void acha(const std::vector<ColumnInfo>& columns) {
        m_colunas.clear();
        for (const CampoDoLeiaute* f : m_campos)
            m_colunas.push_back({colunaDe(columns, f->nome), f->outra.empty() ? -1 : colunaDe(columns, f->outra)});
    }
    void confere(std::span<const Cell> c, Achados& achados) {
        for (std::size_t i = 0; i < m_campos.size(); ++i) {
            const CampoDoLeiaute& f = *m_campos[i];
            const Cell& cell = c[static_cast<std::size_t>(m_colunas[i].first)];
            if (f.regra == Regra::Valor) achados.valor(cell, f.nome, f.largura);
            if (f.data()) achados.data(cell, f.nome);
            if (!f.texto()) continue;
            std::string_view campo = f.nome, lido = cell.text;
            if (f.regra == Regra::Cadastro && UsaOutraColuna(cell.text))
                campo = f.outra, lido = c[static_cast<std::size_t>(m_colunas[i].second)].text;
            TextoDaRegra(f.regra, lido, m_escrito);
            achados.controles(lido, m_escrito, campo, f.largura);
            achados.cortado(lido, m_escrito, campo, f.largura);
        }
    }

private:
    std::vector<const CampoDoLeiaute*> m_campos;
    std::vector<std::pair<int, int>> m_colunas;  // per field: its column, Cadastro's second
    std::string m_escrito;
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
class VerificaLivro : public VerificacaoDaConsulta {
public:
    VerificaLivro(bool vendas, const ClientDataSet& leitor, DestinoDosProblemas& problemas)
        : m_vendas(vendas),
          m_leitor(leitor),
          m_problemas(problemas),
          m_achados(problemas),
          m_leiaute(vendas ? LeiauteDaSaida() : LeiauteDaEntrada(), leitor) {}

    bool columns(const std::vector<ColumnInfo>& columns) override {
        if (!confereColunas(m_leitor, columns, m_vendas ? "Consulta das vendas" : "Consulta das compras", m_problemas))
            return false;
        m_leiaute.acha(columns);
        for (std::size_t i = 0; i < std::size(kColunas); ++i)
            m_c[i] = static_cast<std::size_t>(colunaDe(columns, kColunas[i]));
        return true;
    }

    void row(std::span<const Cell> c) override {
        const std::string_view numero = c[m_c[NUMERODOC]].text;
        m_achados.documento(std::string(m_vendas ? "Venda " : "Compra ") + VisivelCp1252(numero));
        m_leiaute.confere(c, m_achados);
        cadastro(c[m_c[CNPJ]].text, c[m_c[CPF]].text);
        cfop(c[m_c[CFOP]].text);
        m_repetidos.guarda(c[m_c[AGRUPAMENTO]].text, c[m_c[SERIEDOC]].text, numero);
    }

    void termina() override { m_repetidos.relata(m_achados, m_vendas ? "Venda" : "Compra"); }

private:
    // The columns the rules beyond the layout read.
    enum { NUMERODOC, AGRUPAMENTO, SERIEDOC, CFOP, CNPJ, CPF };
    static constexpr std::string_view kColunas[] = {"NUMERODOC", "AGRUPAMENTO", "SERIEDOC", "CFOP", "CNPJ", "CPF"};

    // The digits of the tax id the record writes: the CNPJ, or the CPF when the CNPJ is empty or blanks only.
    void cadastro(std::string_view cnpj, std::string_view cpf) {
        const bool temCnpj = !UsaOutraColuna(cnpj);
        if (!temCnpj && UsaOutraColuna(cpf))
            return m_achados.acha(Gravidade::Aviso, "CNPJ/CPF", "",
                                  m_vendas ? "cliente sem CNPJ nem CPF" : "fornecedor sem CNPJ nem CPF");
        const std::string_view id = temCnpj ? cnpj : cpf;
        const std::string numero = SemPontuacaoDoDocumento(id);
        const std::size_t tamanho = temCnpj ? 14 : 11;
        if (numero.size() != tamanho)
            m_achados.acha(Gravidade::Aviso, temCnpj ? "CNPJ" : "CPF", VisivelCp1252(id),
                           "tem " + std::to_string(numero.size()) + " caracteres em vez de " + std::to_string(tamanho));
        else if (!(temCnpj ? CnpjValido(numero) : CpfValido(numero)))
            m_achados.acha(Gravidade::Aviso, temCnpj ? "CNPJ" : "CPF", VisivelCp1252(id),
                           "dígitos verificadores errados");
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

    bool m_vendas;
    const ClientDataSet& m_leitor;
    DestinoDosProblemas& m_problemas;
    Achados m_achados;
    RegrasDoLeiaute m_leiaute;
    std::size_t m_c[std::size(kColunas)] = {};
    Repetidos m_repetidos;
};

// Each cash/bank movement that goes into an entry file.
class VerificaMovimentos : public VerificacaoDaConsulta {
public:
    VerificaMovimentos(const ClientDataSet& leitor, DestinoDosProblemas& problemas)
        : m_leitor(leitor), m_problemas(problemas), m_achados(problemas), m_leiaute(LeiauteDoLancamento(), leitor) {}

    bool columns(const std::vector<ColumnInfo>& columns) override {
        if (!confereColunas(m_leitor, columns, "Consulta do caixa/banco", m_problemas)) return false;
        m_leiaute.acha(columns);
        for (std::size_t i = 0; i < std::size(kColunas); ++i)
            m_c[i] = static_cast<std::size_t>(colunaDe(columns, kColunas[i]));
        return true;
    }

    void row(std::span<const Cell> c) override {
        const std::string_view operacao = c[m_c[OPERACAO]].text;
        if (!PassoDaOperacao(operacao)) return;  // written to no file
        m_achados.documento(movimento(c));
        // The export writes it with the account blank and ends with a pendência, as a warning here.
        if (ContaAusente(c[m_c[CREDORA]].text))
            m_achados.acha(Gravidade::Aviso, "CREDORA", VisivelCp1252(c[m_c[NOMECREDOR]].text),
                           "sem código contábil definido: a exportação grava a conta em branco (pendência)");
        else if (ContaAusente(c[m_c[DEVEDORA]].text))
            m_achados.acha(Gravidade::Aviso, "DEVEDORA", VisivelCp1252(c[m_c[NOMEDEVEDOR]].text),
                           "sem código contábil definido: a exportação grava a conta em branco (pendência)");
        m_leiaute.confere(c, m_achados);
        // Only general expenses write their own history, over the two lines an entry may take.
        const std::string_view historico = c[m_c[HISTORICO]].text;
        if (operacao == "F") m_achados.controles(historico, historico, "HISTORICO", 2 * kLarguraDoHistorico);
    }

private:
    enum { OPERACAO, DOCUMENTO, CREDORA, DEVEDORA, NOMECREDOR, NOMEDEVEDOR, VALOR, DATA, HISTORICO, PARCELA };
    static constexpr std::string_view kColunas[] = {"OPERACAO",    "DOCUMENTO", "CREDORA", "DEVEDORA",  "NOMECREDOR",
                                                    "NOMEDEVEDOR", "VALOR",     "DATA",    "HISTORICO", "PARCELA"};
    const std::size_t kLarguraDoHistorico =
        LeiauteDoLancamento().campos[LeiauteDoLancamento().indice("Histórico")].largura;

    // A movement as an operator finds it in ZORLA: its document number alone is often blank or shared.
    std::string movimento(std::span<const Cell> c) const {
        std::string nome = "Caixa/Banco";
        if (const Cell& data = c[m_c[DATA]]; !data.isNull()) nome += " " + DataCurta(*data.value().date());
        if (const std::string_view doc = trimControl(c[m_c[DOCUMENTO]].text); !doc.empty())
            nome += ", documento " + VisivelCp1252(doc);
        if (const Cell& parcela = c[m_c[PARCELA]]; !parcela.isNull())
            nome += ", parcela " + std::to_string(parcela.number);
        if (const Cell& valor = c[m_c[VALOR]]; !valor.isNull())
            nome += ", R$ " + ValorFormatado(Decimal{centavosDe(valor)});
        std::string partes;
        for (int campo : {NOMECREDOR, NOMEDEVEDOR}) {
            const std::string_view n = trimControl(c[m_c[campo]].text);
            if (n.empty()) continue;
            partes += (partes.empty() ? "" : " / ") + VisivelCp1252(n);
        }
        return partes.empty() ? nome : nome + ", " + partes;
    }

    const ClientDataSet& m_leitor;
    DestinoDosProblemas& m_problemas;
    Achados m_achados;
    RegrasDoLeiaute m_leiaute;
    std::size_t m_c[std::size(kColunas)] = {};
};

}  // namespace

std::unique_ptr<VerificacaoDaConsulta> VerificacaoDaConsulta::para(Consulta consulta, const ClientDataSet& leitor,
                                                                   DestinoDosProblemas& problemas) {
    if (consulta == Consulta::Movimento) return std::make_unique<VerificaMovimentos>(leitor, problemas);
    return std::make_unique<VerificaLivro>(consulta == Consulta::Vendas, leitor, problemas);
}

}  // namespace zorla
