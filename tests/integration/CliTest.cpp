#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <thread>

#include "support/BancoDeTeste.h"
#include "support/Process.h"
#include "support/SampleData.h"
#include "support/TempDir.h"
#include "support/TestDatabase.h"

namespace zorla {
namespace {

using test::readFile;
using test::runProcess;

std::string sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }
std::string z(int n) { return std::string(static_cast<std::size_t>(n), '0'); }

// Enough sales that the loop is still running when a test acts on it.
std::string muitasVendas(int n) {
    return "SET TERM ^ ;\nEXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < " + std::to_string(n) +
           ") DO BEGIN INSERT INTO MOVESTOQUE (CODMOVESTOQUE, CODEMPRESA, TIPOMOVIMENTO, DATAMOVIMENTO, NUMERODOC,"
           " VALOR) VALUES ('X' || :I, 1, 'S', '2008-03-28', :I, 1); I = I + 1; END END^\nSET TERM ; ^\n";
}

// Every line of every file exactly its record's width, CR LF after it, nothing else.
void expectWholeRecords(const std::string& bytes, std::size_t width, const std::string& what) {
    ASSERT_EQ(bytes.size() % (width + 2), 0u) << what;
    for (std::size_t p = 0; p < bytes.size(); p += width + 2) {
        const std::string line = bytes.substr(p, width);
        for (char c : line) ASSERT_GE(static_cast<unsigned char>(c), 0x20u) << what << " at " << p;
        ASSERT_EQ(bytes.substr(p + width, 2), "\r\n") << what << " at " << p;
    }
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(saida()); }
    std::string saida() const { return dir.file("saída"); }
    // The export of March 2008, each option of extra replacing the default one or added after them.
    std::vector<std::string> args(const std::vector<std::string>& extra = {}) const {
        std::vector<std::string> args = {ZORLA_CLI, "--empresa", "1", "--codigo", "12", "--mes", "3", "--ano", "2008",
                                         "--saida", saida(), "--config", banco.ini()};
        for (std::size_t i = 0; i + 1 < extra.size(); i += 2) {
            auto it = std::find(args.begin(), args.end(), extra[i]);
            if (it != args.end())
                *(it + 1) = extra[i + 1];
            else
                args.insert(args.end(), {extra[i], extra[i + 1]});
        }
        return args;
    }
    test::ProcessResult exporta(const std::vector<std::string>& extra = {},
                                const std::function<void(const std::string&, pid_t)>& onErr = nullptr) {
        return runProcess(args(extra), onErr);
    }
    std::string file(const std::string& name) { return readFile(saida() + "/" + name); }
    void recreate(const std::string& extra) { banco.recria(test::kDadosExemplo + extra); }

    test::BancoDeTeste banco{test::kDadosExemplo};
    const test::TempDir& dir = banco.dir;
    std::string& db = banco.db;
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

TEST_F(Cli, BadArgumentsAreRefusedBeforeAnyFile) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--empresa", "99"}, "Empresa 99 não encontrada."},
        {{"--codigo", ""}, "Informe o código da empresa."},
        {{"--mes", "13"}, "valor inválido para --mes: '13'"},
        {{"--ano", "abc"}, "valor inválido para --ano: 'abc'"},
        {{"--dia-final", "31", "--mes", "4"}, "'31/4/2008' is not a valid date"},
        {{"--desconhecida", "1"}, "opção desconhecida: --desconhecida"},
        {{"--codigo", "1\r\n2"}, "--codigo tem caracteres de controle."},
        {{"--codigo", "\t"}, "--codigo tem caracteres de controle."},
        {{"--codigo", "\xC0\x80"}, "--codigo não é texto UTF-8 válido."},
        {{"--codigo", "\xE6\x97\xA5"}, "--codigo tem caracteres que o code page 1252 não tem"},
        {{"--dia-inicial", "20", "--dia-final", "5"}, "o dia inicial (20) é posterior ao dia final (5)"},
        {{"--dia-inicial", "30", "--mes", "2"}, "o dia inicial (30) é posterior ao dia final (29)"},
        {{"--saida", ""}, "Informe a pasta de saída (--saida)."},
        {{"--saida", "   "}, "Informe a pasta de saída (--saida)."},
    };
    for (const auto& [extra, message] : cases) {
        SCOPED_TRACE(message);
        auto r = exporta(extra);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("Uso: zorla-exporta-cli"), std::string::npos) << r.err;
        EXPECT_TRUE(std::filesystem::is_empty(saida()));
    }
    auto repeated = runProcess({ZORLA_CLI, "--mes", "3", "--empresa", "1", "--codigo", "1", "--mes", "4", "--ano", "2008",
                                "--saida", saida()});
    EXPECT_EQ(repeated.status, 2);
    EXPECT_NE(repeated.err.find("opção repetida: --mes"), std::string::npos) << repeated.err;
    // A code of blanks passes; a long one is cut, with a word.
    EXPECT_EQ(exporta({"--codigo", "  "}).status, 0);
    auto longo = exporta({"--codigo", "AÇÃO1"});
    EXPECT_EQ(longo.status, 0) << longo.err;
    EXPECT_NE(longo.err.find("Aviso: o código 'AÇÃO1' tem mais de 4 caracteres; os arquivos levam 'AÇÃO'."),
              std::string::npos)
        << longo.err;
    EXPECT_EQ(file("01A31MAR.SAI").substr(0, 5), "SA\xC7\xC3O");
}

TEST_F(Cli, ControlCharactersInTheDatabaseNeverSplitARecord) {
    const std::string cc = "' || ASCII_CHAR(13) || ASCII_CHAR(10) || ASCII_CHAR(9) || ASCII_CHAR(0) || '";
    recreate("UPDATE MOVESTOQUE SET NUMERODOC = 'N" + cc + "1', FAVORECIDO = 'F" + cc + "', OBSERVACAO = 'O" + cc +
             "x', ESTADO = ASCII_CHAR(10) || ASCII_CHAR(13), SERIEDOC = '1' || ASCII_CHAR(9) || ASCII_CHAR(0);\n"
             "UPDATE CADASTRO SET NOME = 'N" + cc + "', CNPJ = '1" + cc + "2', CPF = '3" + cc + "';\n"
             "UPDATE CIDADE SET NOMECIDADE = 'S" + cc + "P', ESTADO = 'S' || ASCII_CHAR(10);\n"
             "UPDATE MOVBANCARIO SET HISTORICO = 'H" + cc + "h', DOCUMENTO = 'D" + cc + "', CREDORA = 'C" + cc +
             "', DEVEDORA = 'D" + cc + "', NOMECREDOR = 'N" + cc + "';\n");
    auto r = exporta();
    ASSERT_EQ(r.status, 0) << r.err;
    const std::pair<const char*, std::size_t> files[] = {{"01A31MAR.SAI", 547}, {"01A31MAR.ENT", 251},
                                                         {"ctr01A31MAR.txt", 75}, {"pag01A31MAR.txt", 75},
                                                         {"fca01A31MAR.txt", 75}};
    for (const auto& [name, width] : files) {
        const std::string bytes = file(name);
        expectWholeRecords(bytes, width, name);
        const std::string listed = std::string(name) + ": " + std::to_string(bytes.size() / (width + 2)) + " linhas";
        EXPECT_NE(r.out.find(listed), std::string::npos) << r.out;
    }
    EXPECT_EQ(file("01A31MAR.SAI").substr(13, 6), "N    1");
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
    recreate("INSERT INTO MOVESTOQUE (CODMOVESTOQUE, CODEMPRESA, TIPOMOVIMENTO, DATAMOVIMENTO, NUMERODOC, VALOR)"
             " VALUES ('BIG', 1, 'S', '2008-03-25', 'NF999', 1000000000.00);\n");
    auto r = exporta();
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Erro Ocorrido: Documento NF999: o valor 1000000000,00 do campo VALOR não cabe em 11 posições."),
              std::string::npos)
        << r.err;
}

TEST_F(Cli, AnyServerCharSetGivesTheSameBytes) {
    ASSERT_EQ(exporta().status, 0);
    const char* const names[] = {"01A31MAR.SAI", "01A31MAR.ENT", "ctr01A31MAR.txt", "pag01A31MAR.txt", "fca01A31MAR.txt"};
    for (const char* charset : {"UTF8", "UNICODE_FSS", "WIN1252", "NONE", "ISO8859_1"}) {
        SCOPED_TRACE(charset);
        const std::string pasta = dir.file(charset), ini = dir.file(std::string(charset) + ".ini");
        std::filesystem::create_directory(pasta);
        test::writeFile(ini, "[EMPRESA]\nDatabase=" + db + "\nServerCharSet=" + charset + "\n");
        auto r = exporta({"--saida", pasta, "--config", ini});
        ASSERT_EQ(r.status, 0) << r.err;
        for (const char* name : names) EXPECT_EQ(readFile(pasta + "/" + name), file(name)) << name;
    }
}

TEST_F(Cli, ConnectionFileInAnyEncodingOpensAnAccentedPath) {
    const std::string pasta = dir.file("ação"), accented = pasta + "/zorla.fdb";
    std::filesystem::create_directory(pasta);
    std::filesystem::rename(db, accented);
    const std::string dbCp1252 = dir.file("a\xE7\xE3o") + "/zorla.fdb";
    const std::pair<const char*, std::string> cases[] = {
        {"code page 1252", "[EMPRESA]\r\nDatabase=" + dbCp1252 + "\r\n"},
        {"UTF-8", "[EMPRESA]\r\nDatabase=" + accented + "\r\n"},
        {"UTF-8 with its mark", "\xEF\xBB\xBF[EMPRESA]\r\nDatabase=" + accented + "\r\n"},
    };
    for (const auto& [what, content] : cases) {
        SCOPED_TRACE(what);
        banco.escreveIni(content);
        auto r = exporta();
        EXPECT_EQ(r.status, 0) << r.err;
    }
    banco.escreveIni(std::string("\xFF\xFE[\0E\0M\0", 8));
    auto r = exporta();
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("não é texto em code page 1252"), std::string::npos) << r.err;
}

TEST_F(Cli, ASecondRunIntoTheSameFolderIsRefusedAtOnce) {
    recreate(muitasVendas(20000));
    std::optional<test::ProcessResult> second;
    auto first = exporta({}, [&](const std::string& err, pid_t pid) {
        if (second || err.find("Gerando arquivo...") == std::string::npos) return;
        kill(pid, SIGSTOP);  // surely still running while the second one starts
        second = exporta();
        kill(pid, SIGCONT);
    });
    ASSERT_TRUE(second);
    EXPECT_EQ(second->status, 1) << second->err;
    EXPECT_NE(second->err.find("A pasta " + saida() + " está sendo usada por outra exportação."), std::string::npos)
        << second->err;
    EXPECT_EQ(second->out, "");
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(file("01A31MAR.SAI").size(), 20002u * 549);
}

TEST_F(Cli, FullDiskNamesEveryFileLeftIncompleteAndKeepsWholeRecords) {
    // The demo month: its books and entry files do not fit in 20 KiB.
    db = test::createTestDatabase(dir.file("zorla.fdb"), true);
    const std::string disco = dir.file("disco");
    std::filesystem::create_directory(disco);
    if (std::system(("mount -t tmpfs -o size=20k tmpfs '" + disco + "' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "cannot mount a small file system here";
    auto r = exporta({"--saida", disco, "--codigo", "0001"});
    const std::string ent = readFile(disco + "/01A31MAR.ENT"), err = r.err;
    const std::string out = r.out;
    std::system(("umount '" + disco + "'").c_str());
    EXPECT_EQ(r.status, 1) << err;
    EXPECT_NE(err.find("01A31MAR.ENT\": No space left on device"), std::string::npos) << err;
    EXPECT_NE(err.find("pag01A31MAR.txt\": No space left on device"), std::string::npos) << err;
    EXPECT_EQ(err.find("sucesso"), std::string::npos) << err;
    EXPECT_NE(out.find("01A31MAR.ENT: incompleto"), std::string::npos) << out;
    EXPECT_EQ(ent.size() % 253, 0u);
}

TEST_F(Cli, SignalsCancelTheSalesLoop) {
    recreate(muitasVendas(20000));
    for (const auto& [s, status] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}}) {
        const int sinal = s;
        SCOPED_TRACE(sinal);
        bool sent = false;
        auto r = exporta({}, [&](const std::string& err, pid_t pid) {
            if (!sent && err.find("Gerando arquivo...") != std::string::npos) {
                kill(pid, sinal);
                sent = true;
            }
        });
        EXPECT_TRUE(sent);
        EXPECT_EQ(r.status, status) << r.err;
        EXPECT_NE(r.err.find("Exportação cancelada!"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("sucesso"), std::string::npos) << r.err;
        EXPECT_LT(file("01A31MAR.SAI").size(), 20002u * 549);
        // The entry files are written in full after a cancel.
        EXPECT_EQ(file("ctr01A31MAR.txt").size(), 2u * 77);
    }
}

TEST_F(Cli, SignalsStopAConsultOnTheServer) {
    // The fiscal procedure with its own parameters and columns, taking hours before its first row.
    const std::string schema = readFile(std::string(ZORLA_SOURCE_DIR) + "/db/schema.sql");
    const auto start = schema.find("CREATE PROCEDURE RELATORIOAPURACAOICMS");
    const auto end = schema.find("\nAS\n", start);
    ASSERT_NE(end, std::string::npos);
    recreate("SET TERM ^ ;\nALTER" + schema.substr(start + 6, end - start - 6) +
             "\nAS DECLARE I BIGINT = 0; BEGIN WHILE (I < 10000000000) DO I = I + 1; SUSPEND; END^\nSET TERM ; ^\n");
    for (const auto& [s, status] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}}) {
        const int sinal = s;
        SCOPED_TRACE(sinal);
        std::thread signaller;
        const auto started = std::chrono::steady_clock::now();
        auto r = runProcess(args(), nullptr, std::chrono::seconds(60), [&](pid_t pid) {
            signaller = std::thread([pid, sinal] {
                std::this_thread::sleep_for(std::chrono::milliseconds(700));  // the query runs by then
                kill(pid, sinal);
            });
        });
        signaller.join();
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
        EXPECT_EQ(r.status, status) << r.err;
        EXPECT_NE(r.err.find("Exportação cancelada!"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("shutdown"), std::string::npos) << r.err;
    }
}

}  // namespace
}  // namespace zorla
