#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

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
    const std::pair<ConnectionFailure, std::string> casos[] = {
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
        {ConnectionFailure::FileSizeLimit, "ulimit -f unlimited"},
        {ConnectionFailure::ConnectionFileAccess, "não pode ler o arquivo de conexão " + ini},
        {ConnectionFailure::DatabaseReadOnly, "chmod g+rw 10.0.0.9/3050:/dados/ZORLA.FDB"},
        {ConnectionFailure::HeldByServer, "escreva Database=localhost:10.0.0.9/3050:/dados/ZORLA.FDB"},
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
#ifndef _WIN32
    // Beside an installed program the connection file is a link: the message names the file to edit.
    const std::string link = dir.file("ao-lado-do-programa.ini");
    ASSERT_EQ(::symlink(ini.c_str(), link.c_str()), 0);
    EXPECT_NE(MensagemDaFalha(DbError(DbError("x"), ConnectionFailure::Login), link)
                  .find("Arquivo de conexão: " + ini + "\n"),
              std::string::npos);
#endif
    EXPECT_EQ(MensagemDaFalha(DbError("Column unknown"), ini), "Column unknown");
    EXPECT_EQ(MensagemDaFalha(std::runtime_error("disco cheio"), ini), "disco cheio");
}

// A query's failure, as the check, the batch and the command line say it: what the database lacks or refuses, with
// the server's text as detail; a connection's failure and any other keep their own words.
TEST(MensagemDaFalha, AQueryFailureSaysWhatTheDatabaseLacks) {
    const std::pair<const char*, const char*> casos[] = {
        {"Dynamic SQL Error\n-SQL error code = -204\n-Procedure unknown\n-SP_EXPORTAMOVIMENTO_BANCARIO\n-At line 2",
         "O banco não tem o procedimento SP_EXPORTAMOVIMENTO_BANCARIO, que a exportação usa"},
        {"Dynamic SQL Error\n-SQL error code = -204\n-Table unknown\n-MOVBANCARIO\n-At line 1",
         "O banco não tem a tabela MOVBANCARIO"},
        {"Dynamic SQL Error\n-SQL error code = -206\n-Column unknown\n-C.SITE\n-At line 9",
         "O banco não tem a coluna C.SITE"},
        {"no permission for SELECT access to TABLE EMPRESA\n-Effective user is ZORLA",
         "não tem permissão para o que a exportação lê"},
        {"arithmetic exception, numeric overflow, or string truncation\n-string right truncation",
         "Um dado do banco não cabe onde a consulta o põe"},
        {"Unexpected end of command", "Tente de novo"},
    };
    for (const auto& [texto, dica] : casos) {
        SCOPED_TRACE(texto);
        const std::string m = MensagemDaFalhaDaConsulta(DbError(texto), "c.ini");
        EXPECT_EQ(m.rfind("A consulta ao banco de dados falhou.\nO que fazer: ", 0), 0u) << m;
        EXPECT_NE(m.find(dica), std::string::npos) << m;
        EXPECT_NE(m.find(std::string("\nDetalhe: ") + texto), std::string::npos) << m;
    }
    EXPECT_EQ(MensagemDaFalhaDaConsulta(std::runtime_error("disco cheio"), "c.ini"), "disco cheio");
    EXPECT_EQ(MensagemDaFalhaDaConsulta(DbError(DbError("x"), ConnectionFailure::Login), "c.ini")
                  .rfind("Não foi possível conectar", 0),
              0u);
}

}  // namespace
}  // namespace zorla
