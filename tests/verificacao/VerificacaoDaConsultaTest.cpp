#include <gtest/gtest.h>

#include "base/TextoVisivel.h"
#include "data/DMVantero.h"
#include "export/RegistrosFiscais.h"
#include "leiaute/Leiaute.h"
#include "support/EstadoDoModulo.h"
#include "support/MemoryTable.h"
#include "verificacao/VerificacaoDaConsulta.h"

namespace zorla {
namespace {

using namespace std::chrono;
using test::Row;
using Consulta = VerificacaoDaConsulta::Consulta;

// A document and a movement with nothing to report: each case changes what it names.
Row documentoSemFalhas() {
    return Row{{"DATAMOVIMENTO", Date{2008y / 3 / 5}},
               {"AGRUPAMENTO", "NFE"},
               {"NUMERODOC", "000123"},
               {"SERIEDOC", "1"},
               {"CFOP", "5102"},
               {"ALIQUOTAICMS", Decimal{1800}},
               {"DATADOCUMENTO", Date{2008y / 3 / 4}},
               {"OBSERVACAO", "Entrega"},
               {"ESTADOCLIENTE", "SP"},
               {"ESTADO", "SP"},
               {"CIDADECLIENTE", "Santos"},
               {"CNPJ", "11222333000181"},
               {"VALOR", Decimal{123450}}};
}
Row movimentoSemFalhas() {
    return Row{{"DATA", Date{2008y / 3 / 5}}, {"OPERACAO", "F"},        {"DEVEDORA", "6110001"}, {"CREDORA", "1120003"},
               {"DOCUMENTO", "TAR"},          {"VALOR", Decimal{1500}}, {"HISTORICO", "Tarifa"}};
}

class RegrasDaVerificacao : public ::testing::Test {
protected:
    // The rules of one query over one row, fed as the database feeds them.
    std::deque<Problema> verifica(Consulta consulta, const Row& linha) {
        const ClientDataSet& leitor = consulta == Consulta::Movimento ? dm.Movimento() : dm.Saidas();
        const ResultTable tabela = test::memoryTable(leitor, {linha});
        std::deque<Problema> problemas;
        ProblemasNaLista lista(problemas);
        const auto regras = VerificacaoDaConsulta::para(consulta, leitor, lista);
        regras->columns(tabela.columns);
        std::vector<Cell> celulas;
        for (const Value& v : tabela.rows[0]) celulas.push_back(Cell::of(v));
        regras->row(celulas);
        regras->termina();
        return problemas;
    }
    // The characters the sales record writes in the field of that layout column.
    std::string escrito(const Row& linha, std::string_view campo) {
        EstadoDoModulo(dm).CDSSaidas.setProvider([&] { return test::memoryTable(dm.Saidas(), {linha}); });
        EstadoDoModulo(dm).CDSSaidas.close();
        EstadoDoModulo(dm).CDSSaidas.open();
        const Leiaute& l = LeiauteDaSaida();
        const std::size_t i = l.indice(campo == "CPF" ? "CNPJ" : campo);
        return VisivelCp1252(MontaRegistroSaida(dm.Saidas(), "1").substr(l.inicio(i), l.campos[i].largura));
    }
    TFDMExporta dm{"/nonexistent/dbxconnections.ini"};
};

struct Caso {
    const char* oQue;
    Consulta consulta;
    Row mudancas;
    std::vector<std::pair<std::string, std::string>> achados;  // field, the start of the problem
};

// One row and what the check finds in it, in the order it reports.
std::vector<Caso> casos() {
    const std::string longa(120, 'o');
    return {
        {"a valid document", Consulta::Vendas, {}, {}},
        {"a tax id with \"/\" is written cut",
         Consulta::Vendas,
         {{"CNPJ", "12.345.678/0001-95"}},
         {{"CNPJ", "texto cortado em 14 posições: vai \"12345678/00019\""}}},
        {"the CPF of a blank CNPJ, cut",
         Consulta::Vendas,
         {{"CNPJ", "  "}, {"CPF", "123.456.789/0001-1"}},
         {{"CPF", "texto cortado em 14 posições: vai \"123456789/0001\""}, {"CPF", "tem 14 caracteres"}}},
        {"\"NF\" goes as blanks before the cut",
         Consulta::Vendas,
         {{"NUMERODOC", "NF123456"}},
         {{"NUMERODOC", "texto cortado em 6 posições: vai \"  1234\""}}},
        {"a long observation",
         Consulta::Compras,
         {{"OBSERVACAO", longa}, {"CFOP", "1102"}},
         {{"OBSERVACAO", "texto cortado em 100 posições"}}},
        {"the client's city is only in the sales book",
         Consulta::Compras,
         {{"CIDADECLIENTE", "S\xE3o Jos\xE9 dos Campos"}, {"CFOP", "1102"}},
         {}},
        {"the client's city cut",
         Consulta::Vendas,
         {{"CIDADECLIENTE", "S\xE3o Jos\xE9"}},
         {{"CIDADECLIENTE", "texto cortado em 7 posições: vai \"São Jos\""}}},
        {"a control character in the series",
         Consulta::Vendas,
         {{"SERIEDOC", "1\t"}},
         {{"SERIEDOC", "caractere de controle"}}},
        {"an amount of 12 digits",
         Consulta::Vendas,
         {{"BASEIPI", Decimal{100000000000}}},
         {{"BASEIPI", "não cabe em 11 posições"}}},
        {"a rate of 6 digits",
         Consulta::Compras,
         {{"ALIQUOTAICMS", Decimal{100000}}, {"CFOP", "1102"}},
         {{"ALIQUOTAICMS", "não cabe em 5 posições"}}},
        {"a missing date", Consulta::Vendas, {{"DATADOCUMENTO", Value{}}}, {{"DATADOCUMENTO", "data ausente"}}},
        {"a valid movement", Consulta::Movimento, {}, {}},
        {"an account cut",
         Consulta::Movimento,
         {{"DEVEDORA", "61100012"}},
         {{"DEVEDORA", "texto cortado em 7 posições: vai \"6110001\""}}},
        {"an amount of 13 digits",
         Consulta::Movimento,
         {{"VALOR", Decimal{1000000000000}}},
         {{"VALOR", "não cabe em 12 posições"}}},
        {"a control character in the history's second line",
         Consulta::Movimento,
         {{"HISTORICO", std::string(40, 'h') + "\x07"}},
         {{"HISTORICO", "caractere de controle"}}},
        {"a transfer is written nowhere", Consulta::Movimento, {{"OPERACAO", "T"}, {"DEVEDORA", "61100012"}}, {}},
    };
}

TEST_F(RegrasDaVerificacao, WhatTheLayoutWritesIsWhatTheCheckReports) {
    for (const Caso& caso : casos()) {
        SCOPED_TRACE(caso.oQue);
        Row linha = caso.consulta == Consulta::Movimento ? movimentoSemFalhas() : documentoSemFalhas();
        for (const auto& [campo, valor] : caso.mudancas) linha[campo] = valor;
        const std::deque<Problema> problemas = verifica(caso.consulta, linha);
        ASSERT_EQ(problemas.size(), caso.achados.size());
        for (std::size_t i = 0; i < problemas.size(); ++i) {
            EXPECT_EQ(problemas[i].campo, caso.achados[i].first);
            EXPECT_EQ(problemas[i].problema.rfind(caso.achados[i].second, 0), 0u) << problemas[i].problema;
            // A cut text is reported as the sales record writes it.
            const auto vai = problemas[i].problema.find("vai \"");
            if (vai == std::string::npos || caso.consulta != Consulta::Vendas) continue;
            EXPECT_EQ(problemas[i].problema.substr(vai + 5, problemas[i].problema.size() - vai - 6),
                      escrito(linha, problemas[i].campo));
        }
    }
}

}  // namespace
}  // namespace zorla
