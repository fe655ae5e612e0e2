#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <filesystem>

#include "support/CliFixture.h"
#include "support/Espera.h"
#include "support/Process.h"
#include "support/SampleData.h"
#include "support/TempDir.h"
#include "support/TestDatabase.h"

namespace zorla {
namespace {

using test::readFile;

// A Firebird server of the test's own on loopback, for faults that would spoil the shared one: stopped, killed.
class ServidorProprio : public ::testing::Test {
protected:
    void inicia(int porta, const std::string& dadosExtra) {
        const std::string db = test::createTestDatabase(dir.file("servidor.fdb"), false);
        test::runSql(db, std::string(test::kDadosExemplo) + dadosExtra);
        const std::string script = std::string(ZORLA_SOURCE_DIR) + "/tests/fbserver/fbserver.sh";
        ASSERT_EQ(std::system(("bash '" + script + "' start '" + dir.file("servidor") + "' " + std::to_string(porta) +
                               " >/dev/null")
                                  .c_str()),
                  0);
        pid = std::stoi(readFile(dir.file("servidor/firebird.pid")));
        test::writeFile(dir.file("dbxconnections.ini"),
                        "[EMPRESA]\nDatabase=127.0.0.1/" + std::to_string(porta) + ":" + db + "\n");
        std::filesystem::create_directory(dir.file("saida"));
    }
    void TearDown() override {
        if (pid <= 0) return;
        kill(pid, SIGCONT);
        const std::string script = std::string(ZORLA_SOURCE_DIR) + "/tests/fbserver/fbserver.sh";
        EXPECT_EQ(std::system(("bash '" + script + "' stop '" + dir.file("servidor") + "' >/dev/null 2>&1").c_str()),
                  0);
    }
    std::vector<std::string> args(std::vector<std::string> extra = {}) {
        std::vector<std::string> a = {ZORLA_CLI,
                                      "--empresa",
                                      "1",
                                      "--codigo",
                                      "12",
                                      "--mes",
                                      "3",
                                      "--ano",
                                      "2008",
                                      "--saida",
                                      dir.file("saida"),
                                      "--config",
                                      dir.file("dbxconnections.ini")};
        a.insert(a.end(), extra.begin(), extra.end());
        return a;
    }

    test::TempDir dir;
    pid_t pid = 0;
};

TEST_F(ServidorProprio, AFrozenServerEndsAtTheTimeLimit) {
    inicia(3053, "");
    kill(pid, SIGSTOP);
    const std::vector<std::string> casos[] = {
        args({"--tempo-limite", "2"}),
        {ZORLA_CLI, "--listar-empresas", "--config", dir.file("dbxconnections.ini"), "--tempo-limite", "2"},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso[1]);
        const auto start = std::chrono::steady_clock::now();
        auto r = test::runProcess(caso);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_NE(r.err.find("Tempo limite de 2 segundos esgotado: a exportação foi cancelada."), std::string::npos)
            << r.err;
        EXPECT_EQ(r.err.find("sucesso"), std::string::npos) << r.err;
    }
}

// The run's three queries are fetched at once, each on its attachment: a server killed once the sales book is being
// written either finds every row already fetched (the run ends whole) or stops a fetch (the run fails, saying so);
// never "sucesso" with rows missing, and the sales book holds whole records either way.
TEST_F(ServidorProprio, AServerKilledDuringTheSalesLoopEndsTheRunWholeOrFailed) {
    inicia(3054,
           "SET TERM ^ ;\nEXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < 20000) DO BEGIN INSERT INTO"
           " MOVESTOQUE (CODMOVESTOQUE, CODEMPRESA, TIPOMOVIMENTO, DATAMOVIMENTO, NUMERODOC, VALOR) VALUES"
           " ('X' || :I, 1, 'S', '2008-03-28', :I, 1); I = I + 1; END END^\nSET TERM ; ^\n");
    bool killed = false;
    auto r = test::runProcess(args(), [&](const std::string& err, pid_t) {
        if (killed || err.find("Gerando arquivo...") == std::string::npos) return;
        kill(pid, SIGKILL);
        killed = true;
    });
    ASSERT_TRUE(killed);
    const std::string sai = readFile(dir.file("saida/01A31MAR.SAI"));
    if (r.status == 0) {
        EXPECT_NE(r.err.find("sucesso"), std::string::npos) << r.err;
        EXPECT_GE(sai.size(), 20000u * 549);  // every sale inserted, and the period's others
    } else {
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_NE(r.err.find("Infelizmente ocorreu uma falha na exportação"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("sucesso"), std::string::npos) << r.err;
        // Whole lines, but not the whole period: nothing of it is to be imported.
        EXPECT_NE(r.out.find("/01A31MAR.SAI: incompleto, não importe ("), std::string::npos) << r.out;
    }
    ASSERT_EQ(sai.size() % 549, 0u);
    for (std::size_t p = 547; p < sai.size(); p += 549) ASSERT_EQ(sai.substr(p, 2), "\r\n") << p;
}

// The worker blocked inside the client library does not keep a signal waiting: the program ends after the grace,
// its files cut back to whole records, alone or in a batch.
TEST_F(ServidorProprio, ASignalEndsTheRunThoughTheServerFreezesInTheMiddle) {
    inicia(3055, test::muitasVendas(20000));
    test::writeFile(dir.file("lote.txt"), "dbxconnections.ini;1;12;saida\ndbxconnections.ini;1;12;depois\n");
    const std::vector<std::string> lote = {ZORLA_CLI, "--lote", dir.file("lote.txt"), "--mes", "3",
                                           "--ano",   "2008",   "--tarefas",          "1"};
    // A batch ended past the grace still says which of its lines were stopped under way and which never started.
    const std::string interrompido = "Lote interrompido:\n  empresa 1 (linha 1), pasta " + dir.file("saida") +
                                     ": cancelada no meio: arquivos incompletos, não importe\n  empresa 1 (linha 2), "
                                     "pasta " +
                                     dir.file("depois") + ": não iniciada\n";
    const std::tuple<std::vector<std::string>, const char*, int, int, std::string> casos[] = {
        {args(), "Gerando arquivo...", SIGINT, 130, ""},
        {args(), "Gerando arquivo...", SIGTERM, 143, ""},
        {lote, "iniciada", SIGTERM, 143, interrompido},
    };
    for (const auto& [comando, quando, sinal, status, saida] : casos) {
        SCOPED_TRACE(status);
        const auto inicio = std::chrono::steady_clock::now();
        bool parado = false;
        const bool eLote = comando == lote;
        auto r =
            test::runProcess(comando, [&, quando = quando, sinal = sinal, eLote](const std::string& err, pid_t cli) {
                if (parado || err.find(quando) == std::string::npos) return;
                // A batch line says nothing of its progress: its sales book begun, it is fetching when the server
                // stops.
                if (eLote) {
                    EXPECT_TRUE(test::esperaAte([&] {
                        std::error_code ec;
                        return std::filesystem::file_size(dir.file("saida/01A31MAR.SAI"), ec) > 0;
                    }));
                }
                kill(pid, SIGSTOP);
                kill(cli, sinal);
                parado = true;
            });
        kill(pid, SIGCONT);
        EXPECT_TRUE(parado);
        EXPECT_LT(std::chrono::steady_clock::now() - inicio, std::chrono::seconds(15));
        EXPECT_EQ(r.status, status) << r.err;
        EXPECT_NE(r.err.find("Exportação cancelada!"), std::string::npos) << r.err;
        EXPECT_EQ(readFile(dir.file("saida/01A31MAR.SAI")).size() % 549, 0u);
        EXPECT_NE(r.out.find(saida), std::string::npos) << r.out;
    }
}

// Over a server, as the embedded engine's own files would meet the limit first.
TEST_F(ServidorProprio, AFileSizeLimitFailsTheRunLikeAFullDisk) {
    inicia(3056, test::muitasVendas(2000));
    std::vector<std::string> comando = {"/bin/sh", "-c", "ulimit -f 100; exec \"$0\" \"$@\""};
    const std::vector<std::string> a = args();
    comando.insert(comando.end(), a.begin(), a.end());
    auto r = test::runProcess(comando);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("01A31MAR.SAI\": File too large"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("01A31MAR.SAI: incompleto"), std::string::npos) << r.out;
    const std::string sai = readFile(dir.file("saida/01A31MAR.SAI"));
    EXPECT_GT(sai.size(), 0u);
    test::expectWholeRecords(sai, 547, "SAI");
}

}  // namespace
}  // namespace zorla
