#include <gtest/gtest.h>

#include "data/DbError.h"
#include "data/MensagemDaFalha.h"
#include "support/TempDir.h"

namespace zorla {
namespace {

// Each connection failure says what happened and what to do, names the file and its Database, and keeps the
// library's text as detail; any other failure goes as it came.
TEST(MensagemDaFalha, EachConnectionFailureSaysWhatToDo) {
    test::TempDir dir;
    const std::string ini = dir.file("dbxconnections.ini");
    test::writeFile(ini, "[EMPRESA]\r\nDatabase=10.0.0.9/3050:/dados/ZORLA.FDB\r\n");
    const std::pair<ConnectionFailure, const char*> casos[] = {
        {ConnectionFailure::ConnectionFile, "Crie ou corrija o arquivo de conexão"},
#ifdef _WIN32
        {ConnectionFailure::ClientLibrary, "fbclient.dll"},
        {ConnectionFailure::Engine, "Firebird 3 para Windows"},
#else
        {ConnectionFailure::ClientLibrary, "libfbclient2"},
        {ConnectionFailure::Engine, "firebird3.0-server-core"},
#endif
        {ConnectionFailure::Unreachable, "servidor Firebird está ligado"},
        {ConnectionFailure::DatabaseFile, "arquivo do banco existe"},
        {ConnectionFailure::LockFolder, "sudo adduser "},
        {ConnectionFailure::Login, "User_Name e Password"},
        {ConnectionFailure::Other, "procure o suporte"},
    };
    for (const auto& [falha, dica] : casos) {
        SCOPED_TRACE(dica);
        const std::string m = MensagemDaFalha(DbError(DbError("texto do Firebird"), falha), ini);
        EXPECT_EQ(m.rfind("Não foi possível conectar ao banco de dados.\nArquivo de conexão: " + ini +
                              "\nDatabase: 10.0.0.9/3050:/dados/ZORLA.FDB\nO que fazer: ",
                          0),
                  0u)
            << m;
        EXPECT_NE(m.find(dica), std::string::npos) << m;
        EXPECT_NE(m.find("\nDetalhe: texto do Firebird"), std::string::npos) << m;
    }
    EXPECT_EQ(MensagemDaFalha(DbError("Column unknown"), ini), "Column unknown");
    EXPECT_EQ(MensagemDaFalha(std::runtime_error("disco cheio"), ini), "disco cheio");
}

}  // namespace
}  // namespace zorla
