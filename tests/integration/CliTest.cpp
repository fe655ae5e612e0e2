#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <thread>

#include "support/CliFixture.h"
#include "support/Espera.h"
#include "support/Process.h"
#include "support/SampleData.h"
#include "support/TempDir.h"
#include "support/TestDatabase.h"

namespace zorla {
namespace {

using test::Cli;
using test::expectWholeRecords;
using test::Lote;
using test::muitasVendas;
using test::readFile;
using test::runProcess;

std::string sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }
std::string z(int n) { return std::string(static_cast<std::size_t>(n), '0'); }

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

    const std::string ctrHead =
        "1120003"
        "6110101"
        "  "
        "004512"
        "     ";
    EXPECT_EQ(file("ctr01A31MAR.txt"), ctrHead + "1RECEBIMENTO DE TITULO N\xBA" + sp(5) + z(12) + "050308\r\n" +
                                           ctrHead + "2004512/2" + sp(21) + "000000123450" + "050308\r\n");
    const std::string pagHead =
        "2110005"
        "1120003"
        "  "
        "99    "
        "     ";
    EXPECT_EQ(file("pag01A31MAR.txt"), pagHead + "1PAGAMENTO DE TITULO N\xBA" + sp(7) + z(12) + "060308\r\n" + pagHead +
                                           "299    /" + sp(22) + "000000000007" + "060308\r\n");
    const std::string fcaHead =
        "6110001"
        "1120003"
        "  "
        "TAR   "
        "     ";
    EXPECT_EQ(file("fca01A31MAR.txt"), fcaHead + "1Tarifa banc\xE1ria de manuten\xE7\xE3o" + z(12) + "070308\r\n" +
                                           fcaHead + "2 da conta" + sp(20) + "000000001500" + "070308\r\n");

    for (const char* line : {"01A31MAR.SAI: 2 linhas", "01A31MAR.ENT: 1 linha", "ctr01A31MAR.txt: 2 linhas",
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

// Every argument error in Portuguese, saying what is accepted, before any file; a syntax error with the usage.
TEST_F(Cli, BadArgumentsAreRefusedBeforeAnyFile) {
    struct Caso {
        std::vector<std::string> extra;
        const char* mensagem;
        bool uso;
    };
    const Caso cases[] = {
        {{"--empresa", "99"},
         "Empresa 99 não encontrada. As empresas desta conexão: zorla-exporta-cli --listar-empresas.",
         false},
        {{"--codigo", ""}, "Informe o código da empresa.", true},
        {{"--mes", "13"}, "valor inválido para --mes: '13' (aceita de 1 a 12)", true},
        {{"--ano", "abc"}, "valor inválido para --ano: 'abc' (aceita de 1900 a 9999)", true},
        {{"--dia-final", "31", "--mes", "4"}, "o dia final (31) não existe em abril/2008: o mês vai de 1 a 30", true},
        {{"--desconhecida", "1"}, "opção desconhecida: --desconhecida", true},
        {{"--codigo", "1\r\n2"}, "--codigo tem caracteres de controle.", true},
        {{"--codigo", "\t"}, "--codigo tem caracteres de controle.", true},
        {{"--codigo", "\xC0\x80"}, "--codigo não é texto UTF-8 válido.", true},
        {{"--codigo", "\xE6\x97\xA5"}, "--codigo tem caracteres que o code page 1252 não tem", true},
        {{"--codigo", "AÇÃO1"}, "--codigo tem mais de 4 caracteres ('AÇÃO1'): os registros levam 4.", true},
        {{"--dia-inicial", "20", "--dia-final", "5"}, "o dia inicial (20) é posterior ao dia final (5)", true},
        {{"--dia-inicial", "30", "--mes", "2"}, "o dia inicial (30) é posterior ao dia final (29)", true},
        {{"--saida", ""}, "Informe a pasta de saída (--saida).", true},
        {{"--saida", "   "}, "Informe a pasta de saída (--saida).", true},
        {{"--lote", "l.txt"}, "--empresa não vale com --lote", true},
    };
    for (const auto& [extra, message, uso] : cases) {
        SCOPED_TRACE(message);
        auto r = exporta(extra);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("Uso: zorla-exporta-cli") != std::string::npos, uso) << r.err;
        EXPECT_TRUE(std::filesystem::is_empty(saida()));
    }
    for (const auto& [comparar, mensagem] : std::initializer_list<std::pair<std::vector<std::string>, std::string>>{
             {{"--comparar", "a"}, "--comparar pede dois caminhos: ANTES DEPOIS"},
             {{"--comparar", "a", "b", "--comparar", "a", "b"}, "opção repetida: --comparar"},
             {{"--comparar", "a", "b", "--empresa", "1"}, "--empresa não vale com --comparar"},
             {{"--comparar", "", "b"}, "Informe as duas exportações (--comparar ANTES DEPOIS)."},
             {{"--comparar", dir.file("nada"), saida()}, "Antes: O arquivo " + dir.file("nada") + " não existe."},
             {{"--comparar", saida(), saida()}, "Antes: A pasta " + saida() + " não tem arquivos exportados."}}) {
        std::vector<std::string> a = {ZORLA_CLI};
        a.insert(a.end(), comparar.begin(), comparar.end());
        const auto r = runProcess(a);
        EXPECT_EQ(r.status, 2) << mensagem;
        EXPECT_NE(r.err.find(mensagem), std::string::npos) << r.err;
    }
    auto repeated = runProcess({ZORLA_CLI, "--mes", "3", "--empresa", "1", "--codigo", "1", "--mes", "4", "--ano",
                                "2008", "--saida", saida()});
    EXPECT_EQ(repeated.status, 2);
    EXPECT_NE(repeated.err.find("opção repetida: --mes"), std::string::npos) << repeated.err;
    // A code of blanks passes; four characters of code page 1252 go as they are (over the blank company's files,
    // when asked).
    EXPECT_EQ(exporta({"--codigo", "  "}).status, 0);
    std::vector<std::string> substitui = args({"--codigo", "AÇÃO"});
    substitui.push_back("--substituir");
    EXPECT_EQ(runProcess(substitui).status, 0);
    EXPECT_EQ(file("01A31MAR.SAI").substr(0, 5), "SA\xC7\xC3O");
}

TEST_F(Cli, ControlCharactersInTheDatabaseNeverSplitARecord) {
    const std::string cc = "' || ASCII_CHAR(13) || ASCII_CHAR(10) || ASCII_CHAR(9) || ASCII_CHAR(0) || '";
    recreate("UPDATE MOVESTOQUE SET NUMERODOC = 'N" + cc + "1', FAVORECIDO = 'F" + cc + "', OBSERVACAO = 'O" + cc +
             "x', ESTADO = ASCII_CHAR(10) || ASCII_CHAR(13), SERIEDOC = '1' || ASCII_CHAR(9) || ASCII_CHAR(0);\n"
             "UPDATE CADASTRO SET NOME = 'N" +
             cc + "', CNPJ = '1" + cc + "2', CPF = '3" + cc +
             "';\n"
             "UPDATE CIDADE SET NOMECIDADE = 'S" +
             cc +
             "P', ESTADO = 'S' || ASCII_CHAR(10);\n"
             "UPDATE MOVBANCARIO SET HISTORICO = 'H" +
             cc + "h', DOCUMENTO = 'D" + cc + "', CREDORA = 'C" + cc + "', DEVEDORA = 'D" + cc + "', NOMECREDOR = 'N" +
             cc + "';\n");
    auto r = exporta();
    ASSERT_EQ(r.status, 0) << r.err;
    const std::pair<const char*, std::size_t> files[] = {{"01A31MAR.SAI", 547},
                                                         {"01A31MAR.ENT", 251},
                                                         {"ctr01A31MAR.txt", 75},
                                                         {"pag01A31MAR.txt", 75},
                                                         {"fca01A31MAR.txt", 75}};
    for (const auto& [name, width] : files) {
        const std::string bytes = file(name);
        expectWholeRecords(bytes, width, name);
        const std::size_t linhas = bytes.size() / (width + 2);
        const std::string listed =
            std::string(name) + ": " + std::to_string(linhas) + (linhas == 1 ? " linha" : " linhas");
        EXPECT_NE(r.out.find(listed), std::string::npos) << r.out;
    }
    EXPECT_EQ(file("01A31MAR.SAI").substr(13, 6), "N    1");
}

TEST_F(Cli, OverflowingAmountFailsTheRun) {
    recreate(
        "INSERT INTO MOVESTOQUE (CODMOVESTOQUE, CODEMPRESA, TIPOMOVIMENTO, DATAMOVIMENTO, NUMERODOC, VALOR)"
        " VALUES ('BIG', 1, 'S', '2008-03-25', 'NF999', 1000000000.00);\n");
    auto r = exporta();
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(
        r.err.find("Erro Ocorrido: Documento NF999: o valor 1000000000,00 do campo VALOR não cabe em 11 posições."),
        std::string::npos)
        << r.err;
}

TEST_F(Cli, AnyServerCharSetGivesTheSameBytes) {
    ASSERT_EQ(exporta().status, 0);
    const char* const names[] = {"01A31MAR.SAI", "01A31MAR.ENT", "ctr01A31MAR.txt", "pag01A31MAR.txt",
                                 "fca01A31MAR.txt"};
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
    EXPECT_EQ(std::system(("umount '" + disco + "'").c_str()), 0);
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
        // The entry files are written in full after a cancel, but nothing of a cancelled run is to be imported.
        EXPECT_EQ(file("ctr01A31MAR.txt").size(), 2u * 77);
        EXPECT_NE(r.out.find("/ctr01A31MAR.txt: incompleto, não importe (2 linhas inteiras)"), std::string::npos)
            << r.out;
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
            signaller = std::thread([this, pid, sinal] {
                // Attached, then looping in the procedure: the query runs on the engine.
                EXPECT_TRUE(test::esperaAte([&] { return test::temAberto(pid, db); }));
                EXPECT_TRUE(test::esperaTrabalhar(pid, std::chrono::milliseconds(300)));
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

namespace zorla {
namespace {

// An amount field as the files hold it: zeros, maybe a sign among them, the hundredths.
std::int64_t montante(std::string_view campo) {
    std::int64_t v = 0;
    for (char c : campo)
        if (c >= '0' && c <= '9') v = v * 10 + (c - '0');
    return campo.find('-') == std::string_view::npos ? v : -v;
}

// The totals a file's records add up to: key "file;TIPO" (empty TIPO for the whole file) → records and amounts.
using Totais = std::map<std::string, std::vector<std::int64_t>>;

void soma(Totais& t, const std::string& chave, const std::vector<std::int64_t>& valores) {
    auto& alvo = t[chave];
    if (alvo.empty()) alvo.assign(valores.size() + 1, 0);
    ++alvo[0];
    for (std::size_t i = 0; i < valores.size(); ++i) alvo[i + 1] += valores[i];
}

Totais totaisDosArquivos(const std::string& pasta, const std::string& nome) {
    Totais t;
    struct Livro {
        std::string arquivo;
        std::size_t largura, tipo;
        std::vector<std::size_t> campos;
    };
    const Livro livros[] = {{nome + ".SAI", 547, 28, {194, 205, 216, 260, 271}},
                            {nome + ".ENT", 251, 36, {185, 196, 207}}};
    for (const Livro& l : livros) {
        const std::string bytes = readFile(pasta + "/" + l.arquivo);
        for (std::size_t p = 0; p < bytes.size(); p += l.largura + 2) {
            std::vector<std::int64_t> v;
            for (std::size_t c : l.campos) v.push_back(montante(std::string_view(bytes).substr(p + c, 11)));
            std::string tipo = bytes.substr(p + l.tipo, 4);
            tipo.erase(tipo.find_last_not_of(' ') + 1);
            soma(t, l.arquivo + ";", v);
            soma(t, l.arquivo + ";" + (tipo.empty() ? "(sem TIPO)" : tipo), v);
        }
    }
    for (const char* prefixo : {"ctr", "pag", "fca"}) {
        const std::string arquivo = prefixo + nome + ".txt", bytes = readFile(pasta + "/" + arquivo);
        for (std::size_t p = 0; p < bytes.size(); p += 77) soma(t, arquivo + ";", {montante(bytes.substr(p + 57, 12))});
    }
    return t;
}

Totais totaisDoCsv(const std::string& csv) {
    Totais t;
    std::istringstream in(csv);
    std::string linha;
    std::getline(in, linha);  // titles
    while (std::getline(in, linha)) {
        std::vector<std::string> c;
        std::stringstream campos(linha.substr(0, linha.find('\r')));
        for (std::string campo; std::getline(campos, campo, ';');) c.push_back(campo);
        c.resize(8);
        std::vector<std::int64_t> v = {std::stoll(c[2])};
        for (std::size_t i = 3; i < 8; ++i)
            if (!c[i].empty()) v.push_back(montante(c[i]));
        t[c[0] + ";" + c[1]] = v;
    }
    return t;
}

TEST(Resumo, TotalsAreWhatTheFilesHoldToTheCent) {
    struct Caso {
        const char* nome;
        std::function<std::string(const std::string&)> banco;
        const char* codigo;
        int status;  // the demo carries movements without an account, on purpose
    };
    test::TempDir dir;
    const Caso casos[] = {
        {"demo", [](const std::string& f) { return test::createTestDatabase(f, true); }, "0001", 3},
        {"bench",
         [](const std::string& f) {
             const std::string cmd =
                 "bash '" + std::string(ZORLA_SOURCE_DIR) + "/bench/gera_bench.sh' '" + f + "' 3000";
             if (std::system(cmd.c_str()) != 0) throw std::runtime_error("gera_bench.sh");
             return f;
         },
         "0001", 0},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        const std::string db = c.banco(dir.file(std::string(c.nome) + ".fdb"));
        const std::string ini = dir.file(std::string(c.nome) + ".ini"), saida = dir.file(c.nome);
        test::writeFile(ini, "[EMPRESA]\nDatabase=" + db + "\n");
        std::filesystem::create_directory(saida);
        auto r = runProcess({ZORLA_CLI, "--empresa", "1", "--codigo", c.codigo, "--mes", "3", "--ano", "2008",
                             "--saida", saida, "--config", ini, "--resumo", saida + "/resumo.csv"});
        ASSERT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.out.find("Resumo:"), std::string::npos) << r.out;
        const Totais arquivos = totaisDosArquivos(saida, "01A31MAR"),
                     csv = totaisDoCsv(readFile(saida + "/resumo.csv"));
        for (const auto& [chave, esperado] : arquivos) {
            SCOPED_TRACE(chave);
            ASSERT_TRUE(csv.count(chave));
            // The records, then every amount the file holds; the entry files have one.
            EXPECT_EQ(csv.at(chave), esperado);
        }
        EXPECT_EQ(csv.size(), arquivos.size());
        // Read back, every line is valid and the totals are the export's summary.
        auto conferida = runProcess({ZORLA_CLI, "--conferir", saida});
        EXPECT_EQ(conferida.status, 0) << conferida.out << conferida.err;
        const std::string resumo = conferida.out.substr(std::min(conferida.out.find("Resumo:"), conferida.out.size()));
        EXPECT_FALSE(resumo.empty()) << conferida.out;
        EXPECT_EQ(r.out.find(resumo), r.out.find("Resumo:")) << r.out << conferida.out;
    }
}

}  // namespace
}  // namespace zorla

namespace zorla {
namespace {

TEST_F(Cli, HelpVersionAndTheCompanies) {
    auto ajuda = runProcess({ZORLA_CLI, "--help"});
    EXPECT_EQ(ajuda.status, 0);
    for (const char* opcao : {"--empresa", "--codigo", "--mes", "--ano", "--dia-inicial", "--dia-final", "--saida",
                              "--config", "--tempo-limite", "--verificar", "--formato", "--resumo", "--listar-empresas",
                              "--lote", "--tarefas", "--version", "Exemplos:", "Uso:"})
        EXPECT_NE(ajuda.out.find(opcao), std::string::npos) << opcao;
    auto versao = runProcess({ZORLA_CLI, "--version"});
    EXPECT_EQ(versao.status, 0);
    EXPECT_EQ(versao.out, "zorla-exporta-cli 3.0.0.4\n");
    recreate(
        "INSERT INTO EMPRESA (CODEMPRESA, FANTASIA, RAZAOSOCIAL, CNPJ, REGIMEFISCAL, CUSTOFIXO,"
        " IMPOSTOSOBREESPECIAL, ISS, ICMSESTADUAL, ORDEMPRECO, MESESCURVAABC, FREQCURVAABC, PERCCURVAA, PERCCURVAB,"
        " PERCCURVAC, CODCIDADE) VALUES (0, 'Matriz', 'M', '11222333000181', 'N', 0, 'N', 0, 0, 'A', 1, 'M', 1, 2,"
        " 3, 10);\n");
    auto lista = runProcess({ZORLA_CLI, "--listar-empresas", "--config", banco.ini()});
    EXPECT_EQ(lista.status, 0) << lista.err;
    EXPECT_EQ(lista.out,
              "Código  Nome fantasia  CNPJ\n"
              "     0  Matriz         11.222.333/0001-81\n"
              "     1  Comércio\n");
}

// As the export meets each problem: what it writes all the same (a movement without an account, a pendência) ends
// the check with 3, what makes it fail (an amount too wide for its field) with 4.
TEST_F(Cli, TheCheckWritesNothingAndSaysHowItWent) {
    const char* const semConta =
        "INSERT INTO MOVBANCARIO (CODMOVIMENTO, DATA, OPERACAO, DEVEDORA, NOMECREDOR, VALOR)"
        " VALUES (9, '2008-03-09', 'F', '1120003', 'Jos\xE9', 1);\n";
    const std::pair<std::string, int> casos[] = {
        {"", 3},  // the sample's customers lack or have wrong tax ids: warnings only
        {semConta, 3},
        {std::string(semConta) + "UPDATE MOVESTOQUE SET VALOR = 1000000000 WHERE TIPOMOVIMENTO = 'S';\n", 4},
    };
    for (const auto& [extra, status] : casos) {
        SCOPED_TRACE(status);
        recreate(extra);
        auto r = runProcess(
            {ZORLA_CLI, "--verificar", "--empresa", "1", "--mes", "3", "--ano", "2008", "--config", banco.ini()});
        EXPECT_EQ(r.status, status) << r.err;
        EXPECT_EQ(r.out.rfind("Tipo", 0), 0u) << r.out;
        auto csv = runProcess({ZORLA_CLI, "--verificar", "--empresa", "1", "--mes", "3", "--ano", "2008", "--config",
                               banco.ini(), "--formato", "csv"});
        EXPECT_EQ(csv.status, status);
        EXPECT_EQ(csv.out.rfind("Tipo;Documento;Campo;Valor;Problema\r\n", 0), 0u) << csv.out;
        EXPECT_TRUE(std::filesystem::is_empty(saida()));
    }
    EXPECT_NE(runProcess({ZORLA_CLI, "--verificar", "--empresa", "1", "--mes", "3", "--ano", "2008", "--config",
                          banco.ini(), "--formato", "csv"})
                  .out.find("Aviso;Caixa/Banco 09/03/2008, R$ 1,00, Jos\xE9;Conta credora (CREDORA);Jos\xE9;sem c\xF3"
                            "digo cont\xE1"
                            "bil definido: a exporta\xE7\xE3o grava a conta em branco (pend\xEAncia)"),
              std::string::npos);
    // A table that never reached its file is no result; totals of a check that exports nothing are no option.
    auto cheio = runProcess({"/bin/sh", "-c", "exec \"$0\" \"$@\" >/dev/full", ZORLA_CLI, "--verificar", "--empresa",
                             "1", "--mes", "3", "--ano", "2008", "--config", banco.ini()});
    EXPECT_EQ(cheio.status, 1) << cheio.err;
    EXPECT_NE(cheio.err.find("Falha ao gravar a saída padrão: No space left on device"), std::string::npos)
        << cheio.err;
    auto resumo = runProcess({ZORLA_CLI, "--verificar", "--empresa", "1", "--mes", "3", "--ano", "2008", "--config",
                              banco.ini(), "--resumo", dir.file("resumo.csv")});
    EXPECT_EQ(resumo.status, 2);
    EXPECT_NE(resumo.err.find("--resumo não vale com --verificar"), std::string::npos) << resumo.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("resumo.csv")));
}

// The month exported, corrected in the database (an account set, a value fixed, a sale added) and exported again:
// the re-export says what it changed in the files it replaced, and the two exports compared say the same, field by
// field, with totals that are the reader's.
TEST_F(Cli, TwoExportsOfAPeriodAreComparedRecordByRecord) {
    recreate(
        "INSERT INTO MOVBANCARIO (CODMOVIMENTO, DATA, OPERACAO, DEVEDORA, CREDORA, NOMECREDOR, VALOR)"
        " VALUES (9, '2008-03-09', 'F', '1120003', '', 'Jos\xE9', 1);\n");
    ASSERT_EQ(exporta().status, 3);
    const std::string antes = dir.file("antes");
    std::filesystem::copy(saida(), antes);
    test::runSql(db,
                 "UPDATE MOVBANCARIO SET CREDORA = '6110001' WHERE CODMOVIMENTO = 9;\n"
                 "UPDATE MOVESTOQUE SET VALOR = 1300 WHERE CODMOVESTOQUE = 'S1';\n"
                 "INSERT INTO MOVESTOQUE (CODMOVESTOQUE, CODEMPRESA, TIPOMOVIMENTO, DATAMOVIMENTO, AGRUPAMENTO,"
                 " NUMERODOC, SERIEDOC, CFOP, VALOR) VALUES ('S5', 1, 'S', '2008-03-25', 'NFE', '000999', '1',"
                 " '5102', 50);\n");
    const auto reexportada = exporta();
    ASSERT_EQ(reexportada.status, 0) << reexportada.err;
    EXPECT_NE(reexportada.out.find("/01A31MAR.SAI: 3 linhas, substituído: 1 alterado, 0 removidos, 1 novo\n"),
              std::string::npos)
        << reexportada.out;
    EXPECT_NE(reexportada.out.find("/fca01A31MAR.txt: 3 linhas, substituído: 1 alterado, 0 removidos, 0 novos\n"),
              std::string::npos)
        << reexportada.out;

    const auto r = runProcess({ZORLA_CLI, "--comparar", antes, saida()});
    EXPECT_EQ(r.status, 3) << r.err;
    for (const char* linha :
         {"01A31MAR.SAI: 1 igual, 1 alterado, 0 removidos, 1 novo\n", "\n      Valor: 1.234,50 → 1.300,00\n",
          "01A31MAR.SAI, novo: 25/03/2008, documento 000999",
          "fca01A31MAR.txt, alterado: 09/03/2008, R$ 1,00 (linha 3 → 3)\n"
          "      Conta credora: (em branco) → 6110001\n"})
        EXPECT_NE(r.out.find(linha), std::string::npos) << linha << "\n" << r.out;
    // The totals, both sides, as --conferir reads each.
    const auto valorDoLivro = [](const std::string& conferido) {
        const auto inicio = conferido.find("  01A31MAR.SAI: ");
        const auto valor = conferido.find("VALOR ", inicio) + 6;
        return conferido.substr(valor, conferido.find(';', valor) - valor);
    };
    const std::string de = valorDoLivro(runProcess({ZORLA_CLI, "--conferir", antes}).out),
                      para = valorDoLivro(runProcess({ZORLA_CLI, "--conferir", saida()}).out);
    EXPECT_NE(r.out.find("VALOR " + de + " → " + para + " (+115,50)"), std::string::npos) << r.out;
    const auto csv = runProcess({ZORLA_CLI, "--comparar", antes, saida(), "--formato", "csv"});
    EXPECT_EQ(csv.out.rfind("Arquivo;Mudan\xE7"
                            "a;Registro;Campo;Antes;Depois\r\n",
                            0),
              0u)
        << csv.out;
    EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'), 4) << csv.out;
    EXPECT_EQ(runProcess({ZORLA_CLI, "--comparar", saida(), saida()}).status, 0);

    ASSERT_EQ(exporta({"--mes", "4", "--saida", dir.file("abril")}).status, 0);
    const auto recusada = runProcess({ZORLA_CLI, "--comparar", antes, dir.file("abril")});
    EXPECT_EQ(recusada.status, 2);
    EXPECT_NE(recusada.err.find("As exportações não são do mesmo período: a de antes é 01A31MAR e a de depois é "
                                "01A30ABR."),
              std::string::npos)
        << recusada.err;
}

}  // namespace
}  // namespace zorla

namespace zorla {
namespace {

TEST_F(Lote, ExportsLikeSingleRunsAndReportsTheBrokenOne) {
    const std::string linhas =
        "a.ini;1;0001;s1\na.ini;2;0002;s2\nb.ini;3;0003;s3\nb.ini;4;Açã;s4\nquebrado.ini;1;0001;s5\n";
    for (int i = 1; i <= 5; ++i) std::filesystem::create_directory(dir.file("s" + std::to_string(i)));
    auto r = runProcess(lote(linhas, {"--tarefas", "2", "--resumo", dir.file("resumo.csv")}));
    EXPECT_EQ(r.status, 1) << r.err;
    std::istringstream tabela(r.out);
    std::vector<std::string> linhasDaTabela;
    for (std::string l; std::getline(tabela, l);) linhasDaTabela.push_back(l);
    ASSERT_GE(linhasDaTabela.size(), 6u) << r.out;
    // The demo's movements without an account, listed after the table.
    for (int i = 1; i <= 4; ++i)
        EXPECT_NE(linhasDaTabela[static_cast<std::size_t>(i)].find("concluída com pendências"), std::string::npos);
    EXPECT_EQ(linhasDaTabela[6], "") << r.out;
    EXPECT_NE(linhasDaTabela[5].find("falhou"), std::string::npos);
    EXPECT_NE(linhasDaTabela[5].find("nao-existe.fdb"), std::string::npos);
    const char* const arquivos[] = {"01A31MAR.SAI", "01A31MAR.ENT", "ctr01A31MAR.txt", "pag01A31MAR.txt",
                                    "fca01A31MAR.txt"};
    const std::tuple<const char*, const char*, const char*> unicas[] = {
        {"a", "1", "0001"}, {"a", "2", "0002"}, {"b", "3", "0003"}, {"b", "4", "Açã"}};
    int pasta = 0;
    for (const auto& [banco, empresa, codigo] : unicas) {
        const std::string unica = dir.file("u" + std::to_string(++pasta)),
                          doLote = dir.file("s" + std::to_string(pasta));
        std::filesystem::create_directory(unica);
        auto u = runProcess({ZORLA_CLI, "--empresa", empresa, "--codigo", codigo, "--mes", "3", "--ano", "2008",
                             "--saida", unica, "--config", dir.file(std::string(banco) + ".ini")});
        ASSERT_EQ(u.status, 3) << u.err;
        for (const char* f : arquivos) EXPECT_EQ(readFile(doLote + "/" + f), readFile(unica + "/" + f)) << pasta << f;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("s5/01A31MAR.SAI")));
    EXPECT_EQ(readFile(dir.file("resumo.csv")).rfind("Linha;Conex\xE3o;Empresa;Arquivo;TIPO;Registros;", 0), 0u);
}

TEST_F(Lote, BadBatchesAreRefusedBeforeAnythingRuns) {
    std::filesystem::create_directory(dir.file("s1"));
    const std::tuple<std::string, std::vector<std::string>, std::string> casos[] = {
        {"a.ini;1;0001\n", {}, "lote, linha 2: esperados 4 campos"},
        // Both would write 01A31MAR.SAI there, the second over the first.
        {"a.ini;1;0001;s1\nb.ini;3;0003;./s1/\n", {}, "/./s1/\" é também a da linha 2"},
        {"a.ini;1;0001;s1\n", {"--tempo-limite", "5"}, "--tempo-limite não vale com --lote"},
        // A control character at a field's end is no blank to trim: the folder would be another.
        {"a.ini;1;0001;s1\x01\n", {}, "lote, linha 2: o campo \"s1<SOH>\" tem caracteres de controle"},
        {std::string("a.ini;1;0001\0;s1\n", 18), {}, "o campo \"0001<NUL>\" tem caracteres de controle"},
    };
    for (const auto& [linhas, extra, mensagem] : casos) {
        SCOPED_TRACE(mensagem);
        auto r = runProcess(lote(linhas, extra));
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(mensagem), std::string::npos) << r.err;
        EXPECT_TRUE(std::filesystem::is_empty(dir.file("s1")));
    }
}

// A batch check tells each line's worst: an error the export would fail on, a pendência it would write.
TEST_F(Lote, ACheckSaysForEachLineHowItWent) {
    test::runSql(dir.file("b.fdb"),
                 "INSERT INTO MOVESTOQUE (CODMOVESTOQUE, CODEMPRESA, TIPOMOVIMENTO, DATAMOVIMENTO, NUMERODOC, VALOR)"
                 " VALUES ('GRANDE', 3, 'S', '2008-03-28', '1', 10000000000.00);\n");
    auto r = runProcess(lote("a.ini;1;0001;s1\nb.ini;3;0003;s2\n", {"--verificar"}));
    EXPECT_EQ(r.status, 4) << r.err;
    EXPECT_NE(r.out.find("== empresa 1 (linha 2), pasta " + dir.file("s1") + ": concluída com pendências\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("== empresa 3 (linha 3), pasta " + dir.file("s2") + ": concluída com erros\n"),
              std::string::npos)
        << r.out;
    EXPECT_FALSE(std::filesystem::exists(dir.file("s1")));
}

TEST_F(Lote, CancelledBySigintStartsNothingMore) {
    test::runSql(dir.file("a.fdb"), muitasVendas(20000));
    std::string linhas;
    for (int i = 1; i <= 4; ++i) {
        linhas += "a.ini;1;0001;c" + std::to_string(i) + "\n";
        std::filesystem::create_directory(dir.file("c" + std::to_string(i)));
    }
    bool sent = false;
    auto r = runProcess(lote(linhas, {"--tarefas", "1"}), [&](const std::string& err, pid_t pid) {
        if (!sent && err.find("iniciada") != std::string::npos) {
            kill(pid, SIGINT);
            sent = true;
        }
    });
    EXPECT_TRUE(sent);
    EXPECT_EQ(r.status, 130) << r.err;
    EXPECT_EQ(r.out.find("concluída"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("cancelada"), std::string::npos) << r.out;
    for (int i = 2; i <= 4; ++i)
        EXPECT_FALSE(std::filesystem::exists(dir.file("c" + std::to_string(i) + "/01A31MAR.SAI")));
}

}  // namespace
}  // namespace zorla

namespace zorla {
namespace {

// A line asked for is shown field by field; what is not one exported file, or no such line, is refused.
TEST_F(Lote, ConferirShowsALineAndRefusesWhatItCannotRead) {
    const std::string pasta = dir.file("conferida");
    auto exportada = runProcess({ZORLA_CLI, "--empresa", "1", "--codigo", "0001", "--mes", "3", "--ano", "2008",
                                 "--saida", pasta, "--config", dir.file("a.ini")});
    ASSERT_TRUE(exportada.status == 0 || exportada.status == 3) << exportada.err;
    auto linha = runProcess({ZORLA_CLI, "--conferir", pasta + "/01A31MAR.SAI", "--linha", "1"});
    EXPECT_EQ(linha.status, 0) << linha.err;
    EXPECT_NE(linha.out.find("Tipo do registro    1          \"S\""), std::string::npos) << linha.out;
    for (const std::vector<std::string>& recusa : {std::vector<std::string>{"--conferir", dir.file("a.ini")},
                                                   {"--conferir", pasta, "--linha", "1"},
                                                   {"--conferir", pasta + "/01A31MAR.SAI", "--linha", "99999999"}}) {
        std::vector<std::string> a = {ZORLA_CLI};
        a.insert(a.end(), recusa.begin(), recusa.end());
        EXPECT_EQ(runProcess(a).status, 2) << recusa[1];
    }
    // A folder that lacks what an export always writes is no whole export; a missing purchases book is said apart.
    std::filesystem::remove(pasta + "/pag01A31MAR.txt");
    std::filesystem::remove(pasta + "/01A31MAR.ENT");
    mkfifo((pasta + "/fca01A31MAR.txt.x").c_str(), 0600);
    std::filesystem::rename(pasta + "/fca01A31MAR.txt", pasta + "/fca01A31MAR.txt.y");
    std::filesystem::rename(pasta + "/fca01A31MAR.txt.x", pasta + "/fca01A31MAR.txt");
    auto faltando = runProcess({ZORLA_CLI, "--conferir", pasta});
    EXPECT_EQ(faltando.status, 4) << faltando.err;
    EXPECT_NE(faltando.out.find("01A31MAR.ENT: não está na pasta, o que é normal quando o período não tem compras.\n"
                                "Faltam arquivos da exportação: pag01A31MAR.txt; fca01A31MAR.txt, que é uma fila "
                                "(FIFO). A exportação grava sempre"),
              std::string::npos)
        << faltando.out;
}

}  // namespace
}  // namespace zorla
