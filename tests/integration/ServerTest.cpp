#include <gtest/gtest.h>

#include <cstdlib>

#include "data/DMVantero.h"
#include "data/DbError.h"
#include "data/MensagemDaFalha.h"
#include "support/EstadoDoModulo.h"
#include "support/TempDir.h"

namespace zorla {
namespace {

// The database served on 127.0.0.1:3052 by the test fixture.
std::string servedDatabase() {
    const char* db = std::getenv("ZORLA_SERVER_DB");
    return db ? db : "";
}

class Server : public ::testing::Test {
protected:
    void SetUp() override {
        if (servedDatabase().empty()) GTEST_SKIP() << "ZORLA_SERVER_DB not set: no server fixture";
    }
    std::string openWith(const std::string& section) {
        test::writeFile(dir.file("dbxconnections.ini"), "[EMPRESA]\n" + section);
        TFDMExporta dm(dir.file("dbxconnections.ini"));
        try {
            EstadoDoModulo(dm).ClientEmpresaLocal.open();
            return "rows " + std::to_string(EstadoDoModulo(dm).ClientEmpresaLocal.recordCount());
        } catch (const std::exception& e) {
            return e.what();
        }
    }
    test::TempDir dir;
};

TEST_F(Server, ConnectsOverTcpAsZorla) {
    EXPECT_EQ(openWith("Database=127.0.0.1/3052:" + servedDatabase() + "\n"), "rows 2");
    EXPECT_EQ(openWith("Database= localhost/3052:" + servedDatabase() + " \nUser_Name=ZORLA\nPassword=qubertan\n"),
              "rows 2");
}

TEST_F(Server, RefusalsCarryTheServerText) {
    const std::pair<std::string, std::string> cases[] = {
        {"Database=127.0.0.1/3052:" + servedDatabase() + "\nPassword=errada\n",
         "Your user name and password are not defined. Ask your database administrator to set up a Firebird login."},
        {"Database=127.0.0.1/3052:" + servedDatabase() + "\nUser_Name=NINGUEM\n",
         "Your user name and password are not defined."},
        {"Database=127.0.0.1/3059:" + servedDatabase() + "\n",
         "Unable to complete network request to host \"127.0.0.1\".\n-Failed to establish a connection."},
        {"Database=127.0.0.1/3052:/nao/existe.fdb\n", "I/O error during \"open\" operation for file"},
    };
    for (const auto& [section, text] : cases) {
        SCOPED_TRACE(section);
        std::string error = openWith(section);
        EXPECT_NE(error.find(text), std::string::npos) << error;
    }
}

// While the server holds the file, the embedded engine cannot open it: the operator is told to read it through the
// server, in the words to write in the connection file.
TEST_F(Server, AFileTheServerHoldsIsToBeReadThroughIt) {
    test::writeFile(dir.file("servidor.ini"), "[EMPRESA]\nDatabase=127.0.0.1/3052:" + servedDatabase() + "\n");
    TFDMExporta pelaRede(dir.file("servidor.ini"));
    EstadoDoModulo(pelaRede).ClientEmpresaLocal.open();
    test::writeFile(dir.file("embutido.ini"), "[EMPRESA]\nDatabase=" + servedDatabase() + "\n");
    TFDMExporta embutido(dir.file("embutido.ini"));
    try {
        EstadoDoModulo(embutido).ClientEmpresaLocal.open();
        FAIL() << "the embedded engine opened a file the server holds";
    } catch (const DbError& e) {
        EXPECT_EQ(e.connectionFailure(), ConnectionFailure::HeldByServer) << e.what();
        const std::string m = MensagemDaFalha(e, dir.file("embutido.ini"));
        EXPECT_NE(m.find("escreva Database=localhost:" + servedDatabase()), std::string::npos) << m;
    }
}

}  // namespace
}  // namespace zorla
