#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "Process.h"
#include "SampleData.h"
#include "TempDir.h"
#include "TestDatabase.h"

namespace zorla {
namespace {

using test::readFile;
using test::runProcess;

std::string sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }
std::string z(int n) { return std::string(static_cast<std::size_t>(n), '0'); }

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        db = test::createTestDatabase(dir.file("zorla.fdb"), false);
        test::runSql(db, dados);
        test::writeFile(dir.file("dbxconnections.ini"), "[EMPRESA]\nDatabase=" + db + "\n");
        std::filesystem::create_directory(saida());
    }
    std::string saida() const { return dir.file("saída"); }
    test::ProcessResult exporta(std::vector<std::string> extra = {},
                                const std::function<void(const std::string&, pid_t)>& onErr = nullptr) {
        std::vector<std::string> args = {ZORLA_CLI, "--empresa", "1", "--codigo", "12", "--mes", "3", "--ano", "2008",
                                         "--saida", saida(), "--config", dir.file("dbxconnections.ini")};
        for (std::size_t i = 0; i + 1 < extra.size(); i += 2) {
            auto it = std::find(args.begin(), args.end(), extra[i]);
            if (it != args.end())
                *(it + 1) = extra[i + 1];
            else
                args.insert(args.end(), {extra[i], extra[i + 1]});
        }
        return runProcess(args, onErr);
    }
    std::string file(const std::string& name) { return readFile(saida() + "/" + name); }

    std::string dados = test::kDadosExemplo;
    test::TempDir dir;
    std::string db;
};

TEST_F(Cli, WritesTheFiveFilesByteForByte) {
    auto r = exporta();
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("Os arquivos foram gerados com sucesso.\nVocê pode encontra-los na pasta: " + saida()),
              std::string::npos)
        << r.err;

    const std::string s1 = std::string("S12  20080305  0001  00011  NF      5102") + sp(13) + " 1800" + "04032008" +
                           sp(3) + "Entrega \xE0 vista \x80" + sp(100 - 17) + "SPSPS\xE3o Pau" + "12345678000190" +
                           "00000123450" + "00000100000" + "00000018000" + z(11) + "00000005450" + z(11) +
                           "00000010000" + "00000001000" + z(33) + "00000100000" + z(22) + sp(199);
    const std::string s2 = std::string("S12  20080320000777000777D1 CF      5405") + sp(13) + "  700" + "20032008" +
                           sp(3) + sp(100) + sp(2) + "SP" + sp(7) + sp(14) + "00000001000" + "00000001000" +
                           "00000000070" + z(11) + z(11) + z(11) + z(11) + z(11) + z(33) + "00000001000" + z(22) +
                           sp(199);
    EXPECT_EQ(file("01A31MAR.SAI"), s1 + "\r\n" + s2 + "\r\n");

    const std::string e1 = std::string("E12  20080310") + "12345678901   " + "  55  " + "2  " + "NF  " + "1102" +
                           sp(13) + " 1200" + "08032008" + sp(7) + sp(100) + "MG" + sp(6) + "00000050000" +
                           "00000050000" + "00000006000" + z(11) + z(11) + z(11);
    EXPECT_EQ(file("01A31MAR.ENT"), e1 + "\r\n");

    const std::string ctrHead = "1120003" "6110101" "  " "004512" "     ";
    EXPECT_EQ(file("ctr01A31MAR.txt"), ctrHead + "1RECEBIMENTO DE TITULO N\xBA" + sp(5) + z(12) + "050308\r\n" +
                                           ctrHead + "2004512/2" + sp(21) + "000000123450" + "050308\r\n");
    const std::string pagHead = "2110005" "1120003" "  " "99    " "     ";
    EXPECT_EQ(file("pag01A31MAR.txt"), pagHead + "1PAGAMENTO DE TITULO N\xBA" + sp(7) + z(12) + "060308\r\n" +
                                           pagHead + "299    /" + sp(22) + "000000000007" + "060308\r\n");
    const std::string fcaHead = "6110001" "1120003" "  " "TAR   " "     ";
    EXPECT_EQ(file("fca01A31MAR.txt"), fcaHead + "1Tarifa banc\xE1ria de manuten\xE7\xE3o" + z(12) + "070308\r\n" +
                                           fcaHead + "2 da conta" + sp(20) + "000000001500" + "070308\r\n");

    for (const char* line : {"01A31MAR.SAI: 2 linhas", "01A31MAR.ENT: 1 linhas", "ctr01A31MAR.txt: 2 linhas",
                             "pag01A31MAR.txt: 2 linhas", "fca01A31MAR.txt: 2 linhas"})
        EXPECT_NE(r.out.find(line), std::string::npos) << r.out;

    // Same data, same bytes.
    std::string before = file("01A31MAR.SAI") + file("ctr01A31MAR.txt");
    ASSERT_EQ(exporta().status, 0);
    EXPECT_EQ(file("01A31MAR.SAI") + file("ctr01A31MAR.txt"), before);
}

TEST_F(Cli, DaysOfThePeriodNameTheFiles) {
    auto r = exporta({"--dia-inicial", "6", "--dia-final", "20"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(file("06A20MAR.SAI").size(), 549u);
    EXPECT_EQ(file("06A20MAR.ENT").size(), 253u);
    EXPECT_EQ(file("pag06A20MAR.txt").size(), 154u);
    EXPECT_EQ(file("ctr06A20MAR.txt"), "");
}

TEST_F(Cli, BadArgumentsUnknownCompanyAndEmptyCode) {
    const std::vector<std::vector<std::string>> cases = {
        {"--empresa", "99"}, {"--codigo", ""}, {"--mes", "13"}, {"--ano", "abc"}, {"--dia-final", "31", "--mes", "4"},
        {"--desconhecida", "1"}};
    for (const auto& extra : cases) {
        SCOPED_TRACE(extra[0] + " " + extra[1]);
        auto r = exporta(extra);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_NE(r.err.find("Uso: zorla-exporta-cli"), std::string::npos) << r.err;
    }
    EXPECT_NE(exporta({"--codigo", ""}).err.find("Informe o código da empresa."), std::string::npos);
    EXPECT_NE(exporta({"--dia-final", "31", "--mes", "4"}).err.find("'31/4/2008' is not a valid date"),
              std::string::npos);
    EXPECT_EQ(exporta({"--codigo", "  "}).status, 0);
}

TEST_F(Cli, FolderThatCannotBeWrittenFailsWithoutSuccess) {
    // Root writes anywhere a mode allows nothing, so a read-only file system stands in for it.
    const std::string readOnly = geteuid() == 0 ? std::string("/proc") : saida();
    if (geteuid() != 0) std::filesystem::permissions(saida(), std::filesystem::perms::owner_read |
                                                                   std::filesystem::perms::owner_exec);
    for (const std::string& pasta : {dir.file("nao-existe"), readOnly}) {
        SCOPED_TRACE(pasta);
        auto r = exporta({"--saida", pasta});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("Infelizmente ocorreu uma falha na exportação e não será possível prosseguir.\n"
                             "Reinicie o sistema de exportação e tente novamente.\n\nErro Ocorrido: Falha ao criar o arquivo"),
                  std::string::npos)
            << r.err;
        EXPECT_EQ(r.err.find("sucesso"), std::string::npos);
    }
    std::filesystem::permissions(saida(), std::filesystem::perms::owner_all);
}

TEST_F(Cli, OverflowingAmountFailsTheRun) {
    dados += "INSERT INTO MOVESTOQUE (CODMOVESTOQUE, CODEMPRESA, TIPOMOVIMENTO, DATAMOVIMENTO, NUMERODOC, VALOR)"
             " VALUES ('BIG', 1, 'S', '2008-03-25', 'NF999', 1000000000.00);\n";
    db = test::createTestDatabase(dir.file("zorla.fdb"), false);
    test::runSql(db, dados);
    auto r = exporta();
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Erro Ocorrido: Documento NF999: o valor 1000000000,00 do campo VALOR não cabe em 11 posições."),
              std::string::npos)
        << r.err;
}

TEST_F(Cli, CtrlCCancels) {
    // Enough sales that the loop is still running when the interrupt arrives.
    dados += "SET TERM ^ ;\nEXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < 20000) DO BEGIN"
             " INSERT INTO MOVESTOQUE (CODMOVESTOQUE, CODEMPRESA, TIPOMOVIMENTO, DATAMOVIMENTO, NUMERODOC, VALOR)"
             " VALUES ('X' || :I, 1, 'S', '2008-03-28', :I, 1); I = I + 1; END END^\nSET TERM ; ^\n";
    db = test::createTestDatabase(dir.file("zorla.fdb"), false);
    test::runSql(db, dados);
    bool sent = false;
    auto r = exporta({}, [&](const std::string& err, pid_t pid) {
        if (!sent && err.find("Gerando arquivo...") != std::string::npos) {
            kill(pid, SIGINT);
            sent = true;
        }
    });
    EXPECT_TRUE(sent);
    EXPECT_EQ(r.status, 130) << r.err;
    EXPECT_NE(r.err.find("Exportação cancelada!"), std::string::npos) << r.err;
    EXPECT_LT(file("01A31MAR.SAI").size(), 20002u * 549);
    // The entry files are written in full after a cancel.
    EXPECT_EQ(file("ctr01A31MAR.txt").size(), 2u * 77);
}

}  // namespace
}  // namespace zorla
