#include <gtest/gtest.h>

#include "data/ClientDataSet.h"
#include "data/DMVantero.h"
#include "data/DbError.h"
#include "support/EstadoDoModulo.h"
#include "support/MemoryTable.h"

namespace zorla {
namespace {

using test::Row;

ResultTable operacoes(std::initializer_list<const char*> ops) {
    ResultTable t;
    t.columns = {ColumnInfo{"OPERACAO", FieldType::Text, "CHAR"}, ColumnInfo{"N", FieldType::Integer, "INTEGER"}};
    std::int64_t n = 0;
    for (const char* op : ops) t.rows.push_back({op ? Value{op} : Value{}, Value{++n}});
    return t;
}

std::vector<std::int64_t> walk(ClientDataSet& ds) {
    std::vector<std::int64_t> seen;
    for (ds.first(); !ds.eof(); ds.next()) seen.push_back(ds.fieldByName("n").asInteger());
    return seen;
}

TEST(ClientDataSet, NavigationAndFilterKeepTheReceivedOrder) {
    ClientDataSet ds("CDS");
    ds.setProvider([] { return operacoes({"V", "C", "V", nullptr, "F", "V"}); });
    EXPECT_THROW(ds.recordCount(), DbError);
    ds.open();
    EXPECT_EQ(ds.recordCount(), 6);
    EXPECT_EQ(walk(ds), (std::vector<std::int64_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(ds.recNo(), 6);
    ds.setFilter("OPERACAO", "V");
    ds.setFiltered(true);
    EXPECT_EQ(ds.recordCount(), 3);
    EXPECT_EQ(ds.recNo(), 1);
    EXPECT_EQ(walk(ds), (std::vector<std::int64_t>{1, 3, 6}));
    ds.setFilter("OPERACAO", "X");
    EXPECT_TRUE(ds.isEmpty());
    EXPECT_TRUE(ds.eof());
    EXPECT_EQ(ds.recNo(), 0);
    EXPECT_TRUE(ds.fieldByName("OPERACAO").isNull());
    ds.setFiltered(false);
    EXPECT_EQ(ds.recordCount(), 6);
    ds.close();
    EXPECT_THROW(ds.first(), DbError);
}

TEST(ClientDataSet, DeclaredFieldsAreCheckedBeforeAnyRowIsTaken) {
    struct Case {
        ColumnInfo column;
        const char* error;  // empty: opens
    };
    const Case cases[] = {
        {ColumnInfo{"VALOR", FieldType::Decimal, "NUMERIC"}, ""},
        {ColumnInfo{"VALOR", FieldType::Integer, "INTEGER"}, ""},
        {ColumnInfo{"VALOR", FieldType::Text, "VARCHAR"},
         "CDS: Type mismatch for field 'VALOR', expecting: BCD actual: VARCHAR"},
        {ColumnInfo{"VALOR", FieldType::Unsupported, "DOUBLE PRECISION"},
         "CDS: Type mismatch for field 'VALOR', expecting: BCD actual: DOUBLE PRECISION"},
        {ColumnInfo{"OUTRO", FieldType::Decimal, "NUMERIC"}, "CDS: Field 'VALOR' not found"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column.sqlTypeName);
        ClientDataSet ds("CDS");
        FieldDef valor;
        valor.name = "VALOR";
        valor.type = FieldType::Decimal;
        ds.addField(valor);
        ds.setProvider([&] { return ResultTable{{c.column}, {{Value{std::int64_t{7}}}}}; });
        if (*c.error) {
            try {
                ds.open();
                ADD_FAILURE();
            } catch (const DbError& e) {
                EXPECT_STREQ(e.what(), c.error);
            }
            EXPECT_FALSE(ds.active());
        } else {
            ds.open();
            if (c.column.type == FieldType::Integer) {
                EXPECT_EQ(ds.fieldByName("valor").asDecimal(), Decimal{700});
            }
        }
    }
}

TEST(ClientDataSet, CalculatedFieldsOfTheFiscalRowsAndTheTotalizers) {
    TFDMExporta dm("/nonexistent/dbxconnections.ini");
    const std::pair<Value, const char*> tipos[] = {{"NFT", "NF"}, {"FAT", "NF"}, {"NFE", "NF"}, {"ECF", "CF"},
                                                   {"NF ", ""},   {"nfe", ""},   {Value{}, ""}, {"OUT", ""}};
    std::vector<Row> rows;
    for (const auto& t : tipos) rows.push_back(Row{{"AGRUPAMENTO", t.first}});
    EstadoDoModulo(dm).CDSSaidas.setProvider([&] { return test::memoryTable(EstadoDoModulo(dm).CDSSaidas, rows); });
    EstadoDoModulo(dm).CDSSaidas.open();
    for (const auto& t : tipos) {
        EXPECT_EQ(EstadoDoModulo(dm).CDSSaidas.fieldByName("TIPO").asString(), t.second);
        EXPECT_EQ(EstadoDoModulo(dm).CDSSaidas.fieldByName("TIPO").isNull(), *t.second == 0);
        EstadoDoModulo(dm).CDSSaidas.next();
    }

    const std::pair<const char*, const char*> totalizadores[] = {
        {"N1", "NN"},        {"I1", "II"},        {"F1", "FF"},       {"Can-T", "CANC"}, {"DT", "DESC"},
        {"01T1800", "1800"}, {"02T0700", "0700"}, {"03S0200", "ISS"}, {"AT", ""},        {"F2", ""},
        {"N2", ""},          {"01T", ""},         {"01T18", "18"}};
    std::vector<Row> cupons;
    for (const auto& t : totalizadores) cupons.push_back(Row{{"TOTALIZADOR", t.first}, {"VALOR", Decimal{1}}});
    EstadoDoModulo(dm).CDSCupomA.setProvider([&] { return test::memoryTable(EstadoDoModulo(dm).CDSCupomA, cupons); });
    EstadoDoModulo(dm).CDSCupomA.open();
    for (const auto& t : totalizadores) {
        SCOPED_TRACE(t.first);
        EXPECT_EQ(EstadoDoModulo(dm).CDSCupomA.fieldByName("SituacaoTributaria").asString(), t.second);
        EstadoDoModulo(dm).CDSCupomA.next();
    }
}

}  // namespace
}  // namespace zorla

namespace zorla {
namespace {

TEST(PackedRows, KeepEveryValueExactlyCloseToItsBytes) {
    using namespace std::chrono;
    const std::vector<FieldType> types = {FieldType::Text, FieldType::Integer, FieldType::Decimal, FieldType::Date};
    PackedRows rows(types);
    const std::vector<std::string> texts = {
        "", "a", std::string(127, 'x'), std::string(128, 'y'), std::string(16384, 'z'), std::string("\0\x80\xFF", 3)};
    const Date dates[] = {Date{1y / 1 / 1}, Date{1858y / 11 / 17}, Date{9999y / 12 / 31}};
    std::size_t payload = 0;
    for (int i = 0; i < 30000; ++i) {
        const std::string& t = texts[static_cast<std::size_t>(i) % texts.size()];
        const Cell cells[] = {
            i % 7 == 0 ? Cell{} : Cell{FieldType::Text, 0, t}, Cell{FieldType::Integer, -i * 1000003LL, {}},
            i % 5 == 0 ? Cell{} : Cell{FieldType::Decimal, 999999999999999 - i, {}}, Cell::of(Value(dates[i % 3]))};
        rows.append(cells);
        payload += (i % 7 == 0 ? 0 : t.size()) + 8 + (i % 5 == 0 ? 0 : 8) + 4;
    }
    ASSERT_EQ(rows.size(), 30000u);
    std::uint32_t positions[4];
    for (std::size_t i = 0; i < rows.size(); i += 997) {
        SCOPED_TRACE(i);
        rows.locate(i, positions);
        const Cell text = rows.cellAt(i, positions, 0);
        EXPECT_EQ(text.isNull(), i % 7 == 0);
        EXPECT_EQ(text.text, i % 7 == 0 ? "" : texts[i % texts.size()]);
        EXPECT_EQ(rows.cell(i, 1).number, -static_cast<std::int64_t>(i) * 1000003LL);
        EXPECT_EQ(rows.cell(i, 2).isNull(), i % 5 == 0);
        EXPECT_EQ(rows.cellAt(i, positions, 2).number, i % 5 == 0 ? 0 : 999999999999999 - static_cast<std::int64_t>(i));
        EXPECT_EQ(*rows.cell(i, 3).value().date(), dates[i % 3]);
    }
    // A null bitmap, a length, a row index entry and the last block's slack: no value of its own per field.
    EXPECT_LT(rows.memory(), payload + 30000 * (1 + 3 + 8) + (std::size_t{2} << 20));
}

}  // namespace
}  // namespace zorla
