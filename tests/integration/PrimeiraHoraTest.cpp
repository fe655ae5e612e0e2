// What a new office meets in its first hour on the command line: outcomes that say what they are, errors that say
// what to do.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/CliFixture.h"

namespace zorla {
namespace {

namespace fs = std::filesystem;
using test::Cli;
using test::readFile;
using test::runProcess;

const char* const kSemConta =
    "INSERT INTO MOVBANCARIO (CODMOVIMENTO, DATA, OPERACAO, DEVEDORA, DOCUMENTO, NOMECREDOR, VALOR)"
    " VALUES (9, '2008-03-09', 'F', '1120003', 'D9', 'Jos\xE9', 1);\n";

// Written as the files always had them, but the run says it is not a plain success, alone and in a batch.
TEST_F(Cli, MovementsWithoutAnAccountEndWithPendencias) {
    recreate(kSemConta);
    auto r = exporta();
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_NE(r.err.find("Exportação concluída com pendências: 1 movimento gravado sem código contábil"),
              std::string::npos)
        << r.err;
    const auto pendencias = r.out.find("Pendências: 1 movimento gravado");
    ASSERT_NE(pendencias, std::string::npos) << r.out;
    EXPECT_GT(pendencias, r.out.find("fca01A31MAR.txt: 3 linhas")) << r.out;  // after the files
    EXPECT_NE(r.out.find("  09/03/2008  documento D9  R$ 1,00  José\n"), std::string::npos) << r.out;

    test::writeFile(dir.file("lote.txt"), "dbxconnections.ini;1;12;saída\n");
    auto lote = runProcess({ZORLA_CLI, "--lote", dir.file("lote.txt"), "--mes", "3", "--ano", "2008"});
    EXPECT_EQ(lote.status, 3) << lote.err;
    EXPECT_NE(lote.out.find("concluída com pendências"), std::string::npos) << lote.out;
    EXPECT_NE(lote.out.find("09/03/2008  documento D9"), std::string::npos) << lote.out;
}

TEST_F(Cli, AnEmptyPeriodSaysSo) {
    auto r = exporta({"--mes", "5"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("O período não tem documentos nem movimentos: os arquivos gerados estão vazios."),
              std::string::npos)
        << r.err;
    EXPECT_EQ(exporta().err.find("não tem documentos"), std::string::npos);
}

// Before connecting: a connection file that points nowhere must not be what the operator reads about a folder.
TEST_F(Cli, AMissingFolderIsCreatedAndOneThatCannotTakeTheFilesIsRefused) {
    test::writeFile(dir.file("arquivo"), "");
    const std::string nova = dir.file("nova/março");
    const std::tuple<std::string, int, const char*> casos[] = {
        {nova, 0, "não existia e foi criada"},
        {"/proc", 1, "Não é possível gravar na pasta /proc"},
        {dir.file("arquivo"), 1, "não é uma pasta"},
    };
    for (const auto& [pasta, status, mensagem] : casos) {
        SCOPED_TRACE(pasta);
        if (status != 0) banco.escreveIni("[EMPRESA]\nDatabase=" + dir.file("nao-existe.fdb") + "\n");
        auto r = exporta({"--saida", pasta});
        EXPECT_EQ(r.status, status) << r.err;
        EXPECT_NE(r.err.find(mensagem), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("Infelizmente"), std::string::npos) << r.err;
    }
    EXPECT_EQ(readFile(nova + "/01A31MAR.SAI").size(), 2u * 549);
}

TEST_F(Cli, ConnectionFailuresSayWhatToDoInEveryMode) {
    const std::string nada = dir.file("nada.fdb");
    const std::pair<std::string, const char*> casos[] = {
        {"[EMPRESA]\nDatabase=" + nada + "\n", "O que fazer: Verifique se o arquivo do banco existe"},
        {"[EMPRESA]\nDatabase=127.0.0.1/1:" + nada + "\n", "O que fazer: Verifique se o servidor Firebird está ligado"},
        {"[OUTRA]\nDatabase=" + nada + "\n", "O que fazer: Crie ou corrija o arquivo de conexão"},
    };
    test::writeFile(dir.file("lote.txt"), "dbxconnections.ini;1;12;saída\n");
    for (const auto& [conexao, dica] : casos) {
        SCOPED_TRACE(dica);
        banco.escreveIni(conexao);
        const std::vector<std::string> modos[] = {
            args(),
            {ZORLA_CLI, "--listar-empresas", "--config", banco.ini()},
            {ZORLA_CLI, "--lote", dir.file("lote.txt"), "--mes", "3", "--ano", "2008"},
        };
        for (const auto& modo : modos) {
            auto r = runProcess(modo);
            EXPECT_EQ(r.status, 1) << r.err;
            const std::string tudo = r.out + r.err;
            EXPECT_NE(tudo.find("Não foi possível conectar ao banco de dados."), std::string::npos) << tudo;
            EXPECT_NE(tudo.find("Arquivo de conexão: " + banco.ini()), std::string::npos) << tudo;
            EXPECT_NE(tudo.find(dica), std::string::npos) << tudo;
        }
    }
}

}  // namespace
}  // namespace zorla
