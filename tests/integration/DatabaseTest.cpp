#include <gtest/gtest.h>

#include <filesystem>

#include "data/DbError.h"
#include "support/DatabaseFixture.h"
#include "support/EstadoDoModulo.h"

namespace zorla {
namespace {

using namespace std::chrono;
using test::runSql;

std::string errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no error)";
}

// SELECT CURRENT_USER over the data module's connection.
std::string currentUser(TFDMExporta& dm) {
    SqlQuery q("QUser", EstadoDoModulo(dm).SQLConnectionZORLA);
    q.setSql({"SELECT CURRENT_USER AS U FROM RDB$DATABASE"});
    ResultTable t = q.fetchAll();
    return *t.rows.at(0).at(0).text();
}

const char* kEmpresas =
    "INSERT INTO CIDADE (CODCIDADE, NOMECIDADE, ESTADO) VALUES (10, 'S\xE3o Paulo', 'SP');\n"
    "INSERT INTO EMPRESA (CODEMPRESA, FANTASIA, RAZAOSOCIAL, REGIMEFISCAL, CUSTOFIXO, IMPOSTOSOBREESPECIAL, ISS,"
    " ICMSESTADUAL, ORDEMPRECO, MESESCURVAABC, FREQCURVAABC, PERCCURVAA, PERCCURVAB, PERCCURVAC, CODCIDADE)"
    " VALUES (7, 'Padaria \x93P\xE3o\x94 \x80', 'Raz\xE3o 7', 'N', 0, 'N', 0, 0, 'A', 1, 'M', 1, 2, 3, 10);\n"
    "INSERT INTO EMPRESA (CODEMPRESA, FANTASIA, RAZAOSOCIAL, REGIMEFISCAL, CUSTOFIXO, IMPOSTOSOBREESPECIAL, ISS,"
    " ICMSESTADUAL, ORDEMPRECO, MESESCURVAABC, FREQCURVAABC, PERCCURVAA, PERCCURVAB, PERCCURVAC, CODCIDADE)"
    " VALUES (2, 'A\xE7\xE3o', 'Raz\xE3o 2', 'N', 0, 'N', 0, 0, 'A', 1, 'M', 1, 2, 3, 10);\n";

class ConnectionFile : public test::DatabaseFixture {};

TEST_F(ConnectionFile, MissingFileThenPutBackConnects) {
    std::filesystem::remove(ini());
    EXPECT_EQ(errorOf([&] { EstadoDoModulo(*dm).ClientEmpresaLocal.open(); }),
              "Driver/Connection Registry File '" + ini() + "' not found");
    EXPECT_FALSE(EstadoDoModulo(*dm).Configurado);
    EXPECT_TRUE(EstadoDoModulo(*dm).SQLConnectionZORLA.Params.lines().empty());
    writeIni("[EMPRESA]\nDatabase=" + db + "\n");
    EstadoDoModulo(*dm).ClientEmpresaLocal.open();
    EXPECT_TRUE(EstadoDoModulo(*dm).Configurado);
    EXPECT_TRUE(EstadoDoModulo(*dm).SQLConnectionZORLA.connected());
}

TEST_F(ConnectionFile, MissingSectionOrDatabaseFailsForTheWholeRun) {
    for (const char* content : {"[OUTRA]\nDatabase=x\n", "[EMPRESA]\nUser_Name=ZORLA\n"}) {
        SCOPED_TRACE(content);
        writeIni(content);
        TFDMExporta fresh(ini());
        EXPECT_EQ(errorOf([&] { EstadoDoModulo(fresh).ClientEmpresaLocal.open(); }), "Missing Database property");
        EXPECT_TRUE(EstadoDoModulo(fresh).Configurado);
        writeIni("[EMPRESA]\nDatabase=" + db + "\n");
        EXPECT_EQ(errorOf([&] { EstadoDoModulo(fresh).ClientEmpresaLocal.open(); }), "Missing Database property");
    }
}

TEST_F(ConnectionFile, UserOfTheSectionWinsOverTheAppendedOne) {
    writeIni("[OUTRA]\nDatabase=/nope.fdb\nUser_Name=NINGUEM\n[empresa]\nDatabase = " + db +
             "\nUser_Name=MARIA\nPassword=segredo\nChaveDesconhecida=1\n[EMPRESA]\nUser_Name=JOSE\n");
    EXPECT_EQ(currentUser(*dm), "MARIA");
    EXPECT_EQ(EstadoDoModulo(*dm).SQLConnectionZORLA.Params.lines(),
              (std::vector<std::string>{"Database=" + db, "User_Name=MARIA", "Password=segredo", "ChaveDesconhecida=1",
                                        "User_Name=ZORLA", "Password=qubertan"}));
}

TEST_F(ConnectionFile, SectionWithoutUserConnectsAsZorla) { EXPECT_EQ(currentUser(*dm), "ZORLA"); }

TEST_F(ConnectionFile, SecondOpeningReadsNothingAgain) {
    runSql(db, kEmpresas);
    EstadoDoModulo(*dm).ClientEmpresaLocal.open();
    const auto lines = EstadoDoModulo(*dm).SQLConnectionZORLA.Params.lines();
    std::filesystem::remove(ini());
    EstadoDoModulo(*dm).ClientEmpresaLocal.close();
    EstadoDoModulo(*dm).SQLConnectionZORLA.close();  // a lost connection opens again with the loaded lines
    EstadoDoModulo(*dm).ClientEmpresaLocal.open();
    EXPECT_EQ(EstadoDoModulo(*dm).ClientEmpresaLocal.recordCount(), 2);
    EXPECT_EQ(EstadoDoModulo(*dm).SQLConnectionZORLA.Params.lines(), lines);
}

TEST_F(ConnectionFile, HostileFilesGiveClearErrors) {
    std::string garbage;
    for (int i = 0; i < 5000; ++i) garbage += static_cast<char>((i * 131) % 256);
    const std::pair<std::string, std::string> cases[] = {
        {garbage, "não é texto em code page 1252"},
        {"[EMPRESA]\nno equals\nstill none\n", "Missing Database property"},
        {"[EMPRESA]\nDatabase=" + std::string(1 << 19, 'x') + "\n", "length exceeds"},
        {"[EMPRESA]\nDatabase=" + db + "\nDatabase=/other.fdb\n[EMPRESA]\nDatabase=/third.fdb\n", ""},
        {"[EMPRESA]\nDatabase=" + dir.file("nao-existe.fdb") + "\n", "No such file or directory"},
        {"[EMPRESA]\nDatabase=" + db + "\nSQLDialect=7\n", "Invalid SQLDialect value: 7"},
        {"[EMPRESA]\nDatabase=" + db + "\nInterbase TransIsolation=Serial\n",
         "Invalid Interbase TransIsolation value: Serial"},
    };
    for (const auto& [content, expected] : cases) {
        SCOPED_TRACE(expected);
        writeIni(content);
        TFDMExporta fresh(ini());
        std::string error = errorOf([&] { EstadoDoModulo(fresh).ClientEmpresaLocal.open(); });
        if (expected.empty())
            EXPECT_EQ(error, "(no error)");
        else
            EXPECT_NE(error.find(expected), std::string::npos) << error;
    }
}

TEST_F(ConnectionFile, DriverParametersAreHonoured) {
    runSql(db, kEmpresas);
    EstadoDoModulo(*dm).ClientEmpresaLocal.open();
    EXPECT_EQ(EstadoDoModulo(*dm).ClientEmpresaLocal.fieldByName("ORDEMPRECO").asString(), "A   ");
    for (const char* extra : {"Interbase TransIsolation=RepeatableRead\nWaitOnLocks=False\n",
                              "Interbase TransIsolation=DirtyRead\nServerCharSet=WIN1252\nRoleName=RoleName\n",
                              "SQLDialect=3\nServerCharSet=\n"}) {
        SCOPED_TRACE(extra);
        writeIni("[EMPRESA]\nDatabase=" + db + "\n" + extra);
        TFDMExporta fresh(ini());
        EstadoDoModulo(fresh).ClientEmpresaLocal.open();
        EXPECT_EQ(EstadoDoModulo(fresh).ClientEmpresaLocal.fieldByName("FANTASIA").asString(), "A\xE7\xE3o");
    }
    writeIni("[EMPRESA]\nDatabase=" + db + "\nTrim Char=True\n");
    TFDMExporta trimmed(ini());
    EstadoDoModulo(trimmed).ClientEmpresaLocal.open();
    EXPECT_EQ(EstadoDoModulo(trimmed).ClientEmpresaLocal.fieldByName("ORDEMPRECO").asString(), "A");

    TFDMExporta noLibrary(ini());
    EstadoDoModulo(noLibrary).SQLConnectionZORLA.BeforeConnect = [&] {
        noLibrary.SQLConnectionZORLABeforeConnect();
        EstadoDoModulo(noLibrary).SQLConnectionZORLA.VendorLib = "libnao-existe.so";
    };
    EXPECT_EQ(errorOf([&] { EstadoDoModulo(noLibrary).ClientEmpresaLocal.open(); }), "Unable to Load libnao-existe.so");
}

class Chains : public test::DatabaseFixture {};

TEST_F(Chains, CompanyListInCodeOrderWithCp1252Bytes) {
    runSql(db, kEmpresas);
    ClientDataSet& e = EstadoDoModulo(*dm).ClientEmpresaLocal;
    e.open();
    ASSERT_EQ(e.recordCount(), 2);
    EXPECT_EQ(e.fields().size(), 41u);
    EXPECT_EQ(e.fieldByName("CODEMPRESA").asInteger(), 2);
    EXPECT_EQ(e.fieldByName("FANTASIA").asString(), "A\xE7\xE3o");
    e.next();
    EXPECT_EQ(e.fieldByName("CODEMPRESA").asInteger(), 7);
    EXPECT_EQ(e.fieldByName("FANTASIA").asString(), "Padaria \x93P\xE3o\x94 \x80");
    EXPECT_EQ(e.fieldByName("NOMECIDADE").asString(), "S\xE3o Paulo");
    EXPECT_TRUE(e.fieldByName("DATAULTIMACURVA").isNull());
}

std::string documento(const char* cod, const char* tipo, const char* data, const char* agrup, const char* num) {
    auto lit = [](const char* v) { return v ? "'" + std::string(v) + "'" : std::string("NULL"); };
    return std::string(
               "INSERT INTO MOVESTOQUE (CODMOVESTOQUE, CODEMPRESA, TIPOMOVIMENTO, DATAAPURACAO, DATAMOVIMENTO,"
               " AGRUPAMENTO, NUMERODOC) VALUES ('") +
           cod + "', 1, '" + tipo + "', '2008-03-15', " + lit(data) + ", " + lit(agrup) + ", " + lit(num) + ");\n";
}

TEST_F(Chains, FiscalRowsComeInQueryOrderWithTipo) {
    runSql(db, documento("A", "S", "2008-03-10", "NFT", "2") + documento("B", "S", "2008-03-10", "ECF", "1") +
                   documento("C", "S", "2008-03-02", "NFE", "9") + documento("D", "S", "2008-03-10", "NFT", "1") +
                   documento("E", "S", nullptr, "FAT", "5") + documento("F", "S", "2008-03-10", nullptr, "3") +
                   documento("G", "S", "2008-03-10", "NF ", "3") + documento("H", "S", "2008-03-10", "nfe", "3") +
                   documento("I", "S", "2008-03-10", "NFT", nullptr) + documento("P", "E", "2008-03-10", "NFE", "1"));
    ClientDataSet& s = consulta("S");
    EXPECT_EQ(s.fields().size(), 65u);
    std::vector<std::string> order, tipos;
    for (s.first(); !s.eof(); s.next()) {
        order.push_back(s.fieldByName("CODMOVESTOQUE").asString());
        tipos.push_back(s.fieldByName("TIPO").asString());
    }
    // Nulls first, as Firebird sorts them ascending.
    EXPECT_EQ(order, (std::vector<std::string>{"E", "C", "F", "B", "G", "I", "D", "A", "H"}));
    EXPECT_EQ(tipos, (std::vector<std::string>{"NF", "NF", "", "CF", "", "NF", "NF", "NF", ""}));

    ClientDataSet& e = consulta("E");
    ASSERT_EQ(e.recordCount(), 1);
    EXPECT_EQ(e.fieldByName("CODMOVESTOQUE").asString(), "P");
    ClientDataSet& none = consulta("S", 99);
    EXPECT_TRUE(none.active());
    EXPECT_TRUE(none.isEmpty());
    EXPECT_EQ(none.recordCount(), 0);
}

TEST_F(Chains, ValuesArriveExactAndAsStored) {
    runSql(db,
           "INSERT INTO MOVESTOQUE (CODMOVESTOQUE, CODEMPRESA, TIPOMOVIMENTO, DATAMOVIMENTO, SERIEDOC, VALOR, BASEICMS,"
           " OUTROS, OBSERVACAO, CFOP, DATADOCUMENTO) VALUES ('1', 1, 'S', '2008-03-01', '1', 0.07, -1234.50,"
           " 9999999999999.99, 'A\xE7\xE3o \x80 \x93x\x94 \x97 N\xBA', '5102', '2008-02-29');\n"
           "INSERT INTO MOVESTOQUE (CODMOVESTOQUE, CODEMPRESA, TIPOMOVIMENTO, DATAAPURACAO) VALUES ('2', 1, 'S',"
           " '2008-03-31');\n");
    ClientDataSet& s = consulta("S");
    ASSERT_EQ(s.recordCount(), 2);
    // The row of nulls sorts first.
    for (const FieldDef& f : s.fields()) {
        if (f.name == "CODMOVESTOQUE") continue;
        EXPECT_TRUE(s.fieldByName(f.name).isNull()) << f.name;
        EXPECT_EQ(s.fieldByName(f.name).asString(), "") << f.name;
    }
    EXPECT_EQ(s.fieldByName("VALOR").asDecimal(), Decimal{0});
    EXPECT_FALSE(s.fieldByName("DATAMOVIMENTO").asDate().has_value());
    s.next();
    EXPECT_EQ(s.fieldByName("VALOR").asDecimal(), Decimal{7});
    EXPECT_EQ(s.fieldByName("BASEICMS").asDecimal(), Decimal{-123450});
    EXPECT_EQ(s.fieldByName("OUTROS").asDecimal(), Decimal{999999999999999});
    EXPECT_EQ(s.fieldByName("SERIEDOC").asString(), "1  ");
    EXPECT_EQ(s.fieldByName("CFOP").asString(), "5102");
    EXPECT_EQ(s.fieldByName("OBSERVACAO").asString(), "A\xE7\xE3o \x80 \x93x\x94 \x97 N\xBA");
    EXPECT_EQ(s.fieldByName("DATADOCUMENTO").asDate(), Date{2008y / 2 / 29});
}

TEST_F(Chains, MovementsAndTotalizers) {
    runSql(db,
           "INSERT INTO MOVBANCARIO (CODMOVIMENTO, DATA, OPERACAO, VALOR, PARCELA, CENTROCUSTO, LOCAL_CCUSTO, CREDORA)"
           " VALUES (2, '2008-03-05', 'V', 10.5, 1, 2, 'D', '6110001');\n"
           "INSERT INTO MOVBANCARIO (CODMOVIMENTO, DATA, OPERACAO) VALUES (1, '2008-03-05', 'C');\n"
           "INSERT INTO MOVBANCARIO (CODMOVIMENTO, DATA, OPERACAO) VALUES (3, '2008-04-05', 'F');\n"
           "INSERT INTO ECF_TOTALIZADORES VALUES (5, '01T1800', 10);\n"
           "INSERT INTO ECF_TOTALIZADORES VALUES (5, 'AT', 10);\n"
           "INSERT INTO ECF_TOTALIZADORES VALUES (5, 'N1', 0);\n"
           "INSERT INTO ECF_TOTALIZADORES VALUES (6, 'Can-T', 1);\n");
    EstadoDoModulo(*dm).SQLMovimento.paramByName("BANCO").value = "%";
    EstadoDoModulo(*dm).SQLMovimento.paramByName("DATA_INICIAL").value = Date{2008y / 3 / 1};
    EstadoDoModulo(*dm).SQLMovimento.paramByName("DATA_FINAL").value = Date{2008y / 3 / 31};
    ClientDataSet& m = EstadoDoModulo(*dm).CDSMovimento;
    m.open();
    ASSERT_EQ(m.recordCount(), 2);
    EXPECT_EQ(m.fields().size(), 16u);
    EXPECT_EQ(m.fieldByName("OPERACAO").asString(), "C");
    EXPECT_TRUE(m.fieldByName("PARCELA").isNull());
    m.next();
    EXPECT_EQ(m.fieldByName("VALOR").asDecimal(), Decimal{1050});
    EXPECT_EQ(m.fieldByName("CENTROCUSTO").asInteger(), 2);
    EXPECT_EQ(m.fieldByName("PARCELA").asString(), "1");

    EstadoDoModulo(*dm).QCupomA.paramByName("CODREDUCAO").value = 5;
    EstadoDoModulo(*dm).CDSCupomA.open();
    ASSERT_EQ(EstadoDoModulo(*dm).CDSCupomA.recordCount(), 1);
    EXPECT_EQ(EstadoDoModulo(*dm).CDSCupomA.fieldByName("SituacaoTributaria").asString(), "1800");
}

TEST_F(Chains, MissingProcedureColumnOrTypeNamesTheProblem) {
    // Changed before this process opens the file: the embedded engine holds it exclusively.
    runSql(db, "DROP PROCEDURE SP_EXPORTAMOVIMENTO_BANCARIO;\n");
    ClientDataSet missing("CDSX");
    SqlQuery q("QX", EstadoDoModulo(*dm).SQLConnectionZORLA);
    DataSetProvider p(q);
    missing.setProvider(p);
    FieldDef valor;
    valor.name = "VALOR";
    valor.type = FieldType::Decimal;
    missing.addField(valor);
    q.setSql({"SELECT CAST(1 AS DOUBLE PRECISION) AS VALOR FROM RDB$DATABASE"});
    EXPECT_EQ(errorOf([&] { missing.open(); }),
              "CDSX: Type mismatch for field 'VALOR', expecting: BCD actual: DOUBLE PRECISION");
    q.setSql({"SELECT CURRENT_DATE AS VALOR FROM RDB$DATABASE"});
    EXPECT_EQ(errorOf([&] { missing.open(); }), "CDSX: Type mismatch for field 'VALOR', expecting: BCD actual: DATE");
    q.setSql({"SELECT 1 AS OUTRO FROM RDB$DATABASE"});
    EXPECT_EQ(errorOf([&] { missing.open(); }), "CDSX: Field 'VALOR' not found");
    EXPECT_FALSE(missing.active());

    EstadoDoModulo(*dm).SQLMovimento.paramByName("BANCO").value = "%";
    std::string error = errorOf([&] { EstadoDoModulo(*dm).CDSMovimento.open(); });
    EXPECT_NE(error.find("Procedure unknown"), std::string::npos) << error;
    EXPECT_NE(error.find("SP_EXPORTAMOVIMENTO_BANCARIO"), std::string::npos) << error;
    EXPECT_EQ(errorOf([&] { EstadoDoModulo(*dm).QSaidas.paramByName("NAO_HA"); }),
              "QSaidas: Parameter 'NAO_HA' not found");
}

}  // namespace
}  // namespace zorla
