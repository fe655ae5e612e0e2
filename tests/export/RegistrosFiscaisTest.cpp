#include <gtest/gtest.h>

#include "data/DMVantero.h"
#include "export/RegistrosFiscais.h"
#include "export/ValorForaDoLeiaute.h"
#include "support/EstadoDoModulo.h"
#include "support/MemoryTable.h"

namespace zorla {
namespace {

using namespace std::chrono;
using test::Row;

std::string sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }
std::string z(int n) { return std::string(static_cast<std::size_t>(n), '0'); }

class RegistrosFiscais : public ::testing::Test {
protected:
    // Opens the fiscal rows through the real dataset, so TIPO comes from its calculated field.
    ClientDataSet& open(const std::vector<Row>& rows) {
        EstadoDoModulo(dm).CDSSaidas.setProvider(
            [this, rows] { return test::memoryTable(EstadoDoModulo(dm).CDSSaidas, rows); });
        EstadoDoModulo(dm).CDSSaidas.open();
        return EstadoDoModulo(dm).CDSSaidas;
    }
    TFDMExporta dm{"/nonexistent/dbxconnections.ini"};
};

Row vendaCompleta() {
    return Row{{"CODMOVESTOQUE", "0000000017"},
               {"DATAMOVIMENTO", Date{2008y / 3 / 5}},
               {"AGRUPAMENTO", "NFE"},
               {"NUMERODOC", "NF123456"},
               {"SERIEDOC", "1  "},
               {"CFOP", "5102"},
               {"ALIQUOTAICMS", Decimal{1800}},
               {"DATADOCUMENTO", Date{2008y / 3 / 4}},
               {"OBSERVACAO", "Venda \xE0 vista"},
               {"ESTADOCLIENTE", "SP"},
               {"ESTADO", "MG"},
               {"CIDADECLIENTE", "S\xE3o Paulo"},
               {"CNPJ", "12345678000190"},
               {"CPF", "98765432100"},
               {"VALOR", Decimal{123450}},
               {"BASEICMS", Decimal{100000}},
               {"VALORICMS", Decimal{18000}},
               {"OUTROS", Decimal{0}},
               {"BASEIPI", Decimal{1000}},
               {"VALORIPI", Decimal{-123450}}};
}

TEST_F(RegistrosFiscais, SalesRecordByteForByte) {
    ClientDataSet& ds = open({vendaCompleta()});
    const std::string expected = std::string("S") + "12  " + "20080305" + "  1234" + "  1234" + "1  " + "NF  " + " " +
                                 sp(3) + "5102" + sp(6) + sp(7) + " 1800" + "04032008" + sp(3) + "Venda \xE0 vista" +
                                 sp(100 - 13) + "SP" + "MG" + "S\xE3o Pau" + "12345678000190" + "00000123450" +
                                 "00000100000" + "00000018000" + z(11) + z(11) + z(11) + "00000001000" + "0000-123450" +
                                 z(11) + z(11) + z(11) + "00000100000" + z(11) + z(11) + sp(197) + sp(2);
    ASSERT_EQ(expected.size(), 547u);
    EXPECT_EQ(MontaRegistroSaida(ds, "12"), expected);
}

TEST_F(RegistrosFiscais, PurchaseRecordByteForByte) {
    Row r = vendaCompleta();
    r["CNPJ"] = Value{};
    r["CPF"] = "123.456.789-01";
    r["NUMERODOC"] = "nf12";
    r["AGRUPAMENTO"] = "ECF";
    r["ALIQUOTAICMS"] = Value{};
    r["DATADOCUMENTO"] = Value{};
    r["OBSERVACAO"] = std::string(240, 'o');
    ClientDataSet& ds = open({r});
    const std::string expected = std::string("E") + "1234" + "20080305" + "12345678901" + sp(3) + "nf12  " + "1  " +
                                 "CF  " + "5102" + sp(6) + sp(7) + sp(5) + sp(8) + sp(7) + std::string(100, 'o') +
                                 "MG" + sp(2) + sp(4) + "00000123450" + "00000100000" + "00000018000" + z(11) + z(11) +
                                 z(11);
    ASSERT_EQ(expected.size(), 251u);
    EXPECT_EQ(MontaRegistroEntrada(ds, "12345"), expected);
}

TEST_F(RegistrosFiscais, FieldRules) {
    struct Case {
        const char* what;
        Row changes;
        std::size_t pos;  // 1-based position in the sales record
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"NF in capitals only, all of them", {{"NUMERODOC", "NFNF12"}}, 14, "    12"},
        {"plain number unchanged", {{"NUMERODOC", "000123"}}, 14, "000123"},
        {"null document", {{"NUMERODOC", Value{}}}, 14, sp(6)},
        {"CNPJ wins over CPF", {{"CPF", "11122233344"}}, 181, "12345678000190"},
        {"both ids empty", {{"CNPJ", Value{}}, {"CPF", Value{}}}, 181, sp(14)},
        {"CNPJ of blanks gives the CPF", {{"CNPJ", sp(14)}, {"CPF", "111.222.333-44"}}, 181, "11122233344   "},
        {"slash of a CNPJ stays", {{"CNPJ", "12.345.678/0001-9"}}, 181, "12345678/00019"},
        {"rate 0", {{"ALIQUOTAICMS", Decimal{0}}}, 54, "  000"},
        {"rate 7", {{"ALIQUOTAICMS", Decimal{700}}}, 54, "  700"},
        {"missing amount", {{"VALOR", Value{}}}, 195, z(11)},
        {"largest amount that fits", {{"VALOR", Decimal{99999999999}}}, 195, "99999999999"},
        {"grouping of two letters and a blank", {{"AGRUPAMENTO", "NF "}}, 29, sp(4)},
        {"grouping in lower case", {{"AGRUPAMENTO", "nfe"}}, 29, sp(4)},
        {"null grouping", {{"AGRUPAMENTO", Value{}}}, 29, sp(4)},
        {"grouping NFT", {{"AGRUPAMENTO", "NFT"}}, 29, "NF  "},
        {"grouping FAT", {{"AGRUPAMENTO", "FAT"}}, 29, "NF  "},
        {"missing movement date", {{"DATAMOVIMENTO", Value{}}}, 6, sp(8)},
        {"missing document date", {{"DATADOCUMENTO", Value{}}}, 59, sp(8)},
        {"city cut to 7", {{"CIDADECLIENTE", "Florian\xF3polis"}}, 174, "Florian"},
        {"observation of 240 keeps 100",
         {{"OBSERVACAO", std::string(99, 'a') + "bc" + std::string(139, 'd')}},
         70,
         std::string(99, 'a') + "b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Row r = vendaCompleta();
        for (const auto& [k, v] : c.changes) r[k] = v;
        EstadoDoModulo(dm).CDSSaidas.close();
        ClientDataSet& ds = open({r});
        std::string record = MontaRegistroSaida(ds, "12");
        ASSERT_EQ(record.size(), 547u);
        EXPECT_EQ(record.substr(c.pos - 1, c.expected.size()), c.expected);
    }
}

TEST_F(RegistrosFiscais, OverflowingNumbersFailNamingDocumentFieldAndValue) {
    struct Case {
        const char* field;
        Decimal value;
        const char* text;
    };
    const Case cases[] = {
        {"VALOR", Decimal{100000000000},
         "Documento NF123456: o valor 1000000000,00 do campo VALOR não cabe em 11 posições."},
        {"OUTROS", Decimal{-10000000000},
         "Documento NF123456: o valor -100000000,00 do campo OUTROS não cabe em 11 posições."},
        {"ALIQUOTAICMS", Decimal{100000},
         "Documento NF123456: o valor 1000,00 do campo ALIQUOTAICMS não cabe em 5 posições."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        Row r = vendaCompleta();
        r[c.field] = c.value;
        EstadoDoModulo(dm).CDSSaidas.close();
        ClientDataSet& ds = open({r});
        try {
            MontaRegistroSaida(ds, "12");
            ADD_FAILURE() << "no error";
        } catch (const ValorForaDoLeiaute& e) {
            EXPECT_EQ(std::string(e.what()), c.text);
        }
        EXPECT_THROW(MontaRegistroEntrada(ds, "12"), ValorForaDoLeiaute);
    }
}

}  // namespace
}  // namespace zorla
