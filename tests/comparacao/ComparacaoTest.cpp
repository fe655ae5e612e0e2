#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "comparacao/ComparacaoDeExportacoes.h"
#include "comparacao/TextoDaComparacao.h"
#include "conferencia/ConferenciaDeArquivos.h"
#include "conferencia/TextoDaConferencia.h"
#include "support/LinhaValida.h"
#include "support/TempDir.h"

namespace zorla {
namespace {

// A valid record with some fields set, each value at its field's place, blanks after a short one.
std::string registro(TipoArquivo tipo, std::initializer_list<std::pair<std::string_view, std::string>> campos,
                     char numero = '1') {
    const Leiaute& l = LeiauteDoTipo(tipo);
    std::string linha = test::linhaValida(tipo, numero);
    for (const auto& [nome, valor] : campos)
        for (std::size_t i = 0; i < l.campos.size(); ++i)
            if (l.campos[i].nome == nome) {
                std::string v = valor;
                v.resize(l.campos[i].largura, ' ');
                linha.replace(l.inicio(i), v.size(), v);
            }
    return linha;
}

std::string documento(const std::string& numero,
                      std::initializer_list<std::pair<std::string_view, std::string>> mais = {}) {
    std::string r = registro(TipoArquivo::LivroSaidas, {{"NUMERODOC", numero}});
    const Leiaute& l = LeiauteDaSaida();
    for (const auto& [nome, valor] : mais) r.replace(l.inicio(l.indice(nome)), valor.size(), valor);
    return r;
}

// A receipt: its two lines, its accounts as given.
std::vector<std::string> recebimento(const std::string& credora, const std::string& valor = "000000123450") {
    const auto linha = [&](char n) {
        return registro(TipoArquivo::Recebimentos, {{"CREDORA", credora}, {"VALOR", valor}}, n);
    };
    return {linha('1'), linha('2')};
}

// What a comparison found, as short lines: "alterado|linha A>D|field|before|after" (or just "alterado|linha A>D"
// when no field is said), "removido|linha N", "novo|linha N"; a refusal as "recusa|" and its text.
std::vector<std::string> achados(const OuRecusa<ResultadoDaComparacao>& r) {
    if (!r) return {"recusa|" + r.recusa().mensagem};
    std::vector<std::string> linhas;
    for (const ArquivoComparado& a : r->arquivos)
        for (const Mudanca& m : a.mudancas) {
            if (m.tipo == Mudanca::Tipo::Alterado) {
                const std::string onde =
                    "alterado|linha " + std::to_string(m.linhaAntes) + ">" + std::to_string(m.linhaDepois);
                if (m.campos.empty()) linhas.push_back(onde);
                for (const CampoAlterado& c : m.campos)
                    linhas.push_back(onde + "|" + c.rotulo + "|" + c.antes + "|" + c.depois);
            } else {
                linhas.push_back(std::string(NomeDaMudanca(m.tipo)) + "|linha " +
                                 std::to_string(m.tipo == Mudanca::Tipo::Removido ? m.linhaAntes : m.linhaDepois));
            }
        }
    return linhas;
}

// Equal, changed, removed, new: over all files.
std::array<std::size_t, 4> contagem(const ResultadoDaComparacao& r) {
    std::array<std::size_t, 4> n{};
    for (const ArquivoComparado& a : r.arquivos) {
        n[0] += a.iguais, n[1] += a.alterados, n[2] += a.removidos, n[3] += a.novos;
    }
    return n;
}

class Comparacao : public ::testing::Test {
protected:
    OuRecusa<ResultadoDaComparacao> compara(const std::string& nome, const std::vector<std::string>& antes,
                                            const std::vector<std::string>& depois) {
        const auto grava = [&](const char* lado, const std::vector<std::string>& linhas) {
            std::string bytes;
            for (const std::string& l : linhas) bytes += l + "\r\n";
            std::filesystem::create_directories(dir.file(lado));
            test::writeFile(dir.file(std::string(lado) + "/" + nome), bytes);
            return dir.file(std::string(lado) + "/" + nome);
        };
        return ComparaExportacoes(grava("a", antes), grava("d", depois));
    }
    test::TempDir dir;
};

// Each kind of change between two versions of a file, and exactly what is said of it. The common corrections read
// as a change: a value, an account set; a record that only moved is none; of one identity, the record that is not
// equal is the changed one.
TEST_F(Comparacao, EachKindOfChangeIsSaidAsItIs) {
    const std::string d1 = documento("000001"), d2 = documento("000002"), d3 = documento("000003");
    const std::string d2Valor = documento("000002", {{"VALOR", "00000099999"}});
    const Leiaute& saida = LeiauteDaSaida();
    std::string d3Borda = d3;
    d3Borda.replace(saida.inicio(saida.campos.size() - 3), 11, "00000077700");
    auto semConta = recebimento(""), comConta = recebimento("1120003"), outroValor = recebimento("", "000000099900");
    std::string outroMes = d1;
    outroMes.replace(saida.inicio(saida.indice("DATAMOVIMENTO")), 8, "20090305");
    std::string danificado = d2;
    danificado.replace(saida.inicio(saida.indice("VALOR")), 1, "x");
    // Two fields of one line changed alike are both said.
    const std::string d2Imposto = documento("000002", {{"VALOR", "00000012345"}, {"VALORICMS", "00000012345"}}),
                      d2ImpostoNovo = documento("000002", {{"VALOR", "00000099999"}, {"VALORICMS", "00000099999"}});
    struct Caso {
        const char* oQue;
        const char* nome;
        std::vector<std::string> antes, depois, esperado;
        std::array<std::size_t, 4> contagem;  // equal, changed, removed, new
    };
    const Caso casos[] = {
        {"a value in the middle",
         "01A31MAR.SAI",
         {d1, d2, d3},
         {d1, d2Valor, d3},
         {"alterado|linha 2>2|Valor|1.234,50|999,99"},
         {2, 1, 0, 0}},
        {"the last field",
         "01A31MAR.SAI",
         {d1, d2, d3},
         {d1, d2, d3Borda},
         {"alterado|linha 3>3|Base do ICMS (2)|1.234,50|777,00"},
         {2, 1, 0, 0}},
        {"two fields changed alike",
         "01A31MAR.SAI",
         {d2Imposto},
         {d2ImpostoNovo},
         {"alterado|linha 1>1|Valor|123,45|999,99", "alterado|linha 1>1|Valor do ICMS|123,45|999,99"},
         {0, 1, 0, 0}},
        {"an account set on a movement",
         "ctr01A31MAR.txt",
         semConta,
         comConta,
         {"alterado|linha 1>1|Conta credora||1120003"},
         {0, 1, 0, 0}},
        // The amount is part of a movement's identity: another amount is another movement.
        {"a movement's amount",
         "ctr01A31MAR.txt",
         semConta,
         outroValor,
         {"removido|linha 1", "novo|linha 1"},
         {0, 0, 1, 1}},
        {"a document removed", "01A31MAR.SAI", {d1, d2, d3}, {d1, d3}, {"removido|linha 2"}, {2, 0, 1, 0}},
        {"a document added", "01A31MAR.SAI", {d1, d3}, {d1, d2, d3}, {"novo|linha 2"}, {2, 0, 0, 1}},
        {"one of three of one identity",
         "01A31MAR.SAI",
         {d2, d2, d2},
         {d2, d2Valor, d2},
         {"alterado|linha 3>2|Valor|1.234,50|999,99"},
         {2, 1, 0, 0}},
        {"reordered", "01A31MAR.SAI", {d1, d2, d3}, {d3, d1, d2}, {}, {3, 0, 0, 0}},
        {"reordered within one identity", "01A31MAR.SAI", {d2, d2Valor}, {d2Valor, d2}, {}, {2, 0, 0, 0}},
        {"an empty file against a full one",
         "01A31MAR.SAI",
         {},
         {d1, d2},
         {"novo|linha 1", "novo|linha 2"},
         {0, 0, 0, 2}},
        {"another month",
         "01A31MAR.SAI",
         {d1},
         {outroMes},
         {"recusa|As exportações não são do mesmo período: a de antes é de março/2008 e a de depois é de "
          "março/2009."},
         {}},
        {"a damaged file",
         "01A31MAR.SAI",
         {d1, d2},
         {d1, danificado},
         {"recusa|O arquivo " + dir.file("d/01A31MAR.SAI") +
          " não confere com o leiaute e não é comparado como se estivesse inteiro (zorla-exporta-cli --conferir "
          "mostra cada problema). Exporte o período de novo."},
         {}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.oQue);
        const auto r = compara(c.nome, c.antes, c.depois);
        EXPECT_EQ(achados(r), c.esperado);
        if (r) {
            EXPECT_EQ(r->iguais(), c.esperado.empty());
            EXPECT_EQ(contagem(*r), c.contagem);
        }
    }
}

// A damaged side is told as the reader tells it; the totals' differences are those of the two sides as read.
TEST_F(Comparacao, WhatItReportsIsWhatTheReaderReads) {
    const std::string d1 = documento("000001"), d2 = documento("000002");
    std::string danificado = d2;
    danificado.replace(LeiauteDaSaida().inicio(LeiauteDaSaida().indice("VALOR")), 1, "x");
    const auto recusada = compara("01A31MAR.SAI", {d1, danificado}, {d1, d2});
    ASSERT_FALSE(recusada);
    EXPECT_EQ(recusada.recusa().detalhe,
              TextoDaConferencia({ConfereArquivo(dir.file("a/01A31MAR.SAI"), TipoArquivo::LivroSaidas)}));

    const auto r = compara("01A31MAR.SAI", {d1, d2}, {d1, d2, documento("000003", {{"VALOR", "00000000100"}})});
    ASSERT_TRUE(r);
    const ArquivoGravado antes = ConfereArquivo(dir.file("a/01A31MAR.SAI"), TipoArquivo::LivroSaidas).totais,
                         depois = ConfereArquivo(dir.file("d/01A31MAR.SAI"), TipoArquivo::LivroSaidas).totais;
    EXPECT_EQ(antes.somas.valor, 2 * 123450);
    EXPECT_EQ(depois.somas.valor, 2 * 123450 + 100);
    EXPECT_NE(TotaisDaComparacao(*r).find("  01A31MAR.SAI: 2 → 3 registros (+1); VALOR 2.469,00 → 2.470,00 (+1,00);"),
              std::string::npos)
        << TotaisDaComparacao(*r);
}

}  // namespace
}  // namespace zorla
