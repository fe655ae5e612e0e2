// What the command line must never do to files that are not its run's own, and what hostile input it must refuse.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <thread>

#include "support/CliFixture.h"
#include "support/Espera.h"

namespace zorla {
namespace {

namespace fs = std::filesystem;
using test::Cli;
using test::Lote;
using test::readFile;
using test::runProcess;

// The schema's procedure altered as a changed ZORLA database would have it.
std::string procedimentoAlterado(const std::string& nome,
                                 const std::vector<std::pair<std::string, std::string>>& trocas) {
    const std::string schema = readFile(std::string(ZORLA_SOURCE_DIR) + "/db/schema.sql");
    const auto inicio = schema.find("CREATE PROCEDURE " + nome);
    std::string p = schema.substr(inicio + 6, schema.find("END^", inicio) + 4 - inicio - 6);
    for (const auto& [de, para] : trocas) {
        const auto onde = p.find(de);
        if (onde == std::string::npos) throw std::runtime_error("not in the procedure: " + de);
        p.replace(onde, de.size(), para);
    }
    return "SET TERM ^ ;\nALTER" + p + "\nSET TERM ; ^\n";
}

bool temporarioDeixado(const std::string& pasta) {
    for (const auto& e : fs::directory_iterator(pasta))
        if (e.path().filename().string().find(".tmp-") != std::string::npos) return true;
    return false;
}

TEST_F(Cli, ATotalsFileIsNeverOneThatTheRunReadsOrWrites) {
    fs::create_symlink(db, dir.file("link-banco.csv"));
    mkfifo(dir.file("fifo.csv").c_str(), 0600);
    // Another run's folder, held as a run holds it.
    fs::create_directory(dir.file("outra"));
    const int outra = ::open(dir.file("outra").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(::flock(outra, LOCK_EX | LOCK_NB), 0);
    const std::string ini = readFile(banco.ini());
    const std::pair<std::string, const char*> casos[] = {
        {"/dev/full", "O caminho /dev/full é um dispositivo, não um arquivo comum"},
        {"/dev/null", "é um dispositivo"},
        {dir.file("fifo.csv"), "é uma fila (FIFO), não um arquivo comum"},
        {dir.file("outra/01A31MAR.SAI"), "está sendo usada por outra exportação"},
        {db, "é o mesmo que"},
        {dir.file("link-banco.csv"), "é o mesmo que"},
        {banco.ini(), "é o mesmo que"},
        {saida() + "/01A31MAR.SAI", "é o mesmo que"},
        {saida() + "/../saída/ctr01A31MAR.txt", "é o mesmo que"},
        {"  ", "Informe o arquivo dos totais (--resumo)."},
        {saida(), "é uma pasta"},
    };
    for (const auto& [resumo, mensagem] : casos) {
        SCOPED_TRACE(resumo);
        auto r = exporta({"--resumo", resumo});
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_NE(r.err.find(mensagem), std::string::npos) << r.err;
        EXPECT_TRUE(fs::is_empty(saida()));
    }
    ::close(outra);
    EXPECT_TRUE(fs::is_empty(dir.file("outra")));
    EXPECT_EQ(readFile(banco.ini()), ini);
    // A link at the totals' place is replaced by the whole file; what it pointed to stays as it was. The temporary
    // file a killed run left is removed; one of a process still running is its own.
    test::writeFile(dir.file("alvo.txt"), "intocado");
    fs::create_symlink(dir.file("alvo.txt"), dir.file("resumo.csv"));
    const pid_t morto = fork();
    if (morto == 0) _exit(0);
    waitpid(morto, nullptr, 0);
    const std::string abandonado = dir.file("resumo.csv.tmp-" + std::to_string(morto) + "-0"),
                      vivo = dir.file("resumo.csv.tmp-" + std::to_string(getpid()) + "-0");
    test::writeFile(abandonado, "metade");
    test::writeFile(vivo, "meu");
    auto r = exporta({"--resumo", dir.file("resumo.csv")});
    ASSERT_EQ(r.status, 0) << r.err;  // the database read after all those refusals
    EXPECT_EQ(readFile(dir.file("alvo.txt")), "intocado");
    EXPECT_FALSE(fs::is_symlink(dir.file("resumo.csv")));
    EXPECT_EQ(readFile(dir.file("resumo.csv")).rfind("Arquivo;TIPO;", 0), 0u);
    EXPECT_FALSE(fs::exists(abandonado));
    EXPECT_EQ(readFile(vivo), "meu");
    fs::remove(vivo);
    EXPECT_FALSE(temporarioDeixado(dir.path()));
}

// What the run lists must be what it wrote: a file put in the place of one of its files, or its folder renamed and
// another put under its name, while it writes, ends the run as a failure; its files stay in the folder it locked.
TEST_F(Cli, TheRunFailsWhenWhatItListsIsNoLongerWhatItWrote) {
    recreate(test::muitasVendas(20000));
    const std::string outra = dir.file("outra");
    const std::pair<const char*, std::function<void()>> casos[] = {
        {"a file put in its place",
         [&] {
             test::writeFile(dir.file("csv"), "Linha;Conexão\r\n");
             fs::rename(dir.file("csv"), saida() + "/01A31MAR.SAI");
         }},
        {"its folder renamed and replaced by a link",
         [&] {
             fs::create_directory(outra);
             fs::rename(saida(), saida() + "-velha");
             fs::create_directory_symlink(outra, saida());
         }},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.first);
        const std::function<void()>& acao = caso.second;
        fs::remove_all(saida());
        fs::remove_all(saida() + "-velha");
        fs::create_directory(saida());
        bool feito = false;
        auto r = exporta({}, [&](const std::string& err, pid_t) {
            if (feito || err.find("Gerando arquivo...") == std::string::npos) return;
            acao();
            feito = true;
        });
        ASSERT_TRUE(feito) << r.err;
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_NE(r.err.find("não é mais o que esta exportação gravou"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("sucesso"), std::string::npos) << r.err;
        EXPECT_NE(r.out.find("01A31MAR.SAI: incompleto, não importe"), std::string::npos) << r.out;
    }
    // Every file went into the folder the run locked, none through the link.
    EXPECT_TRUE(fs::is_empty(outra));
    EXPECT_EQ(readFile(saida() + "-velha/ctr01A31MAR.txt").size(), 2u * 77);
}

TEST_F(Cli, NoFileIsWrittenThroughALinkNamedLikeAnOutputFile) {
    const std::string fora = dir.file("fora");
    fs::create_directory(fora);
    for (const char* nome : {"01A31MAR.SAI", "ctr01A31MAR.txt"})
        fs::create_symlink(fora + "/" + nome, saida() + "/" + nome);
    test::writeFile(dir.file("lote.txt"), "dbxconnections.ini;1;12;saída\n");
    const std::vector<std::string> comandos[] = {
        args(),
        {ZORLA_CLI, "--lote", dir.file("lote.txt"), "--mes", "3", "--ano", "2008"},
    };
    for (const auto& comando : comandos) {
        auto r = runProcess(comando);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_NE(r.err.find("01A31MAR.SAI é um link simbólico"), std::string::npos) << r.err;
        EXPECT_TRUE(fs::is_empty(fora));
    }
}

TEST_F(Cli, AStalePurchasesBookOfTheSameNameIsRemovedAndSaidSo) {
    // No purchases from the 1st to the 5th: a book of that name can only be an earlier run's, of that period, whose
    // purchases have gone since.
    ASSERT_EQ(exporta().status, 0);
    std::string compra = file("01A31MAR.ENT");
    compra.replace(5, 8, "20080303");  // DATAMOVIMENTO
    for (const char* f : {"01A31MAR.SAI", "01A31MAR.ENT", "ctr01A31MAR.txt", "pag01A31MAR.txt", "fca01A31MAR.txt"})
        fs::remove(saida() + "/" + f);
    test::writeFile(saida() + "/01A05MAR.ENT", compra);
    auto r = exporta({"--dia-inicial", "1", "--dia-final", "5"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(fs::exists(saida() + "/01A05MAR.ENT"));
    EXPECT_NE(r.out.find("01A05MAR.ENT: apagado: era de uma exportação anterior"), std::string::npos) << r.out;
}

// What the folder already holds under the run's names, after an export of March 2008 by company 12: the same export
// again replaces it and says so; another year's, another company's, or what is no export at all is refused, the
// files left byte for byte, unless the replacement is asked for; a batch is refused before any line runs.
TEST_F(Cli, AnExportNeverReplacesAnotherExportUnasked) {
    const char* const kArquivos[] = {"01A31MAR.SAI", "01A31MAR.ENT", "ctr01A31MAR.txt", "pag01A31MAR.txt",
                                     "fca01A31MAR.txt"};
    test::writeFile(dir.file("lote.txt"), "dbxconnections.ini;1;12;saída\n");
    const std::vector<std::string> lote2009 = {ZORLA_CLI, "--lote", dir.file("lote.txt"), "--mes", "3",
                                               "--ano",   "2009"};
    const auto comFlag = [&](std::vector<std::string> a) {
        a.push_back("--substituir");
        return a;
    };
    struct Caso {
        const char* oQue;
        std::function<void()> prepara;
        std::vector<std::string> comando;
        int status;
        const char* mensagem;  // on the error output; "" when none is expected
    };
    const Caso casos[] = {
        {"the same export", [] {}, args(), 0, ""},
        {"another year", [] {}, args({"--ano", "2009"}), 2,
         "já tem a exportação de março/2008 da empresa 12 (gravada em "},
        {"another company", [] {}, args({"--codigo", "13"}), 2, "já tem a exportação de março/2008 da empresa 12"},
        {"no export", [&] { test::writeFile(saida() + "/01A31MAR.ENT", "compras\r\n"); }, args(), 2,
         "já tem o arquivo 01A31MAR.ENT (gravado em "},
        {"an empty file", [&] { test::writeFile(saida() + "/01A31MAR.ENT", ""); }, args({"--ano", "2009"}), 2,
         "já tem a exportação de março/2008 da empresa 12"},
        {"asked", [] {}, comFlag(args({"--ano", "2009"})), 0, ""},
        {"a batch", [] {}, lote2009, 2, "lote, linha 1: A pasta "},
        {"a batch, asked", [] {}, comFlag(lote2009), 0, ""},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.oQue);
        fs::remove_all(saida());
        ASSERT_EQ(exporta().status, 0);
        c.prepara();
        std::map<std::string, std::string> antes;
        for (const char* f : kArquivos) antes[f] = file(f);
        auto r = runProcess(c.comando);
        EXPECT_EQ(r.status, c.status) << r.err;
        if (*c.mensagem) {
            EXPECT_NE(r.err.find(c.mensagem), std::string::npos) << r.err;
        }
        std::map<std::string, std::string> depois;
        for (const char* f : kArquivos) depois[f] = file(f);
        // Refused, nothing moved; asked, replaced by 2009's empty March; the same export again, the same bytes,
        // each said replaced.
        if (c.status == 2) {
            EXPECT_EQ(depois, antes);
        }
        if (std::string_view(c.oQue).find("asked") != std::string_view::npos) {
            EXPECT_EQ(depois["01A31MAR.SAI"], "");
        }
        if (std::string_view(c.oQue) == "the same export") {
            EXPECT_EQ(depois, antes);
            EXPECT_NE(r.out.find("01A31MAR.SAI: 2 linhas, substituído"), std::string::npos) << r.out;
        }
    }
}

// One hostile text (a terminal escape, a carriage return, a forged line of success, a bell) wherever text from
// outside reaches the terminal: the database's names and a server's error, a folder, a file's name and its bytes, a
// connection file's path. It arrives with its controls by name, and never makes a line of its own.
TEST_F(Cli, EveryTextFromOutsideReachesTheTerminalVisible) {
    const std::string hostil = "A\x1B[2J\rB\nOs arquivos foram gerados com sucesso.\a";
    const std::string visivel = "A<ESC>[2J<CR>B<LF>Os arquivos foram gerados com sucesso.<BEL>";
    const std::string sql =
        "'A' || ASCII_CHAR(27) || '[2J' || ASCII_CHAR(13) || 'B' || ASCII_CHAR(10) || "
        "'Os arquivos foram gerados com sucesso.' || ASCII_CHAR(7)";
    recreate("UPDATE EMPRESA SET FANTASIA = " + sql + ";\nUPDATE MOVBANCARIO SET CREDORA = '', NOMECREDOR = " + sql +
             " WHERE CODMOVIMENTO = 1;\n");
    const std::string pasta = dir.file(hostil + "Z");
    fs::create_directory(dir.file("conexao" + hostil));
    test::writeFile(dir.file("conexao" + hostil + "/c.ini"), "[EMPRESA]\nDatabase=" + dir.file("nao.fdb") + "\n");
    struct Caso {
        const char* oQue;
        std::function<test::ProcessResult()> roda;
        std::string mostra;
        int sucessos;  // the lines of success the program itself prints
    };
    const std::vector<Caso> casos = {
        {"a company's name",
         [&] {
             return runProcess({ZORLA_CLI, "--listar-empresas", "--config", banco.ini()});
         },
         "     1  A<ESC>[2J<CR>B<LF>Os arquivos", 0},
        {"a movement's party", [&] { return exporta(); }, "R$ 1.234,50  A<ESC>[2J<CR>B<LF>Os arquivos", 1},
        {"the output folder",
         [&] {
             return exporta({"--saida", pasta});
         },
         "na pasta: " + dir.file(visivel + "Z"), 1},
        {"an exported file's name",
         [&] {
             fs::copy_file(pasta + "/01A31MAR.SAI", dir.file(hostil + ".SAI"));
             return runProcess({ZORLA_CLI, "--conferir", dir.file(hostil + ".SAI")});
         },
         visivel + ".SAI: 2 registros", 0},
        {"an exported file's bytes",
         [&] {
             std::string bytes = readFile(pasta + "/01A31MAR.SAI");
             bytes.replace(bytes.find("Entrega"), 7, std::string("\0\a\x1B\rxyz", 7));
             test::writeFile(dir.file("x01A31MAR.SAI"), bytes);
             return runProcess({ZORLA_CLI, "--conferir", dir.file("x01A31MAR.SAI"), "--formato", "csv"});
         },
         "<NUL><BEL><ESC><CR>xyz", 0},
        {"a connection file's path",
         [&] {
             return runProcess({ZORLA_CLI, "--listar-empresas", "--config", dir.file("conexao" + hostil + "/c.ini")});
         },
         "Arquivo de conexão: " + dir.file("conexao" + visivel + "/c.ini"), 0},
    };
    const auto confere = [&](const Caso& c) {
        SCOPED_TRACE(c.oQue);
        const auto r = c.roda();
        std::string tudo = r.out + r.err;
        // A CSV's rows end in CR LF, and only its rows do.
        for (std::size_t p; (p = tudo.find("\r\n")) != std::string::npos;) tudo.replace(p, 2, "\n");
        EXPECT_NE(tudo.find(c.mostra), std::string::npos) << tudo;
        for (char controle : {'\x1B', '\r', '\a', '\0'})
            EXPECT_EQ(tudo.find(controle), std::string::npos) << int(controle) << "\n" << tudo;
        int sucessos = tudo.starts_with("Os arquivos foram gerados") ? 1 : 0;
        for (std::size_t p = 0; (p = tudo.find("\nOs arquivos foram gerados", p)) != std::string::npos; ++p) ++sucessos;
        EXPECT_EQ(sucessos, c.sucessos) << tudo;
    };
    for (const Caso& c : casos) confere(c);
    // A server's error carrying it: the export, the check and a batch line.
    const std::string schema = readFile(std::string(ZORLA_SOURCE_DIR) + "/db/schema.sql");
    const auto inicio = schema.find("CREATE PROCEDURE RELATORIOAPURACAOICMS");
    const auto corpo = schema.find("\nAS\n", inicio);
    recreate("CREATE EXCEPTION HOSTIL 'x';\nGRANT USAGE ON EXCEPTION HOSTIL TO PUBLIC;\nSET TERM ^ ;\nALTER" +
             schema.substr(inicio + 6, corpo - inicio - 6) + "\nAS BEGIN EXCEPTION HOSTIL " + sql +
             "; SUSPEND; END^\nSET TERM ; ^\n");
    test::writeFile(dir.file("lote.txt"), "dbxconnections.ini;1;12;lote\n");
    for (const Caso& c : std::vector<Caso>{
             {"a server's error to the export", [&] { return exporta(); }, visivel, 0},
             {"a server's error to the check",
              [&] {
                  return runProcess({ZORLA_CLI, "--verificar", "--empresa", "1", "--mes", "3", "--ano", "2008",
                                     "--config", banco.ini()});
              },
              visivel, 0},
             {"a server's error to a batch line",
              [&] {
                  return runProcess({ZORLA_CLI, "--lote", dir.file("lote.txt"), "--mes", "3", "--ano", "2008"});
              },
              visivel, 0},
         })
        confere(c);
}

// A session hostile to the run without meaning to be: a reader that stops reading after a line, a file size limit
// below what the embedded engine maps. The first ends nothing but the reading; the second is said, not a SIGBUS.
TEST_F(Cli, TheSessionAroundTheRunDoesNotEndItUnsaid) {
    ASSERT_EQ(exporta({"--saida", dir.file("inteira")}).status, 0);
    const auto emBash = [&](const std::string& antes, const std::string& depois) {
        std::vector<std::string> a = {"/bin/bash", "-c", antes + " \"$0\" \"$@\"" + depois};
        const std::vector<std::string> resto = args();
        a.insert(a.end(), resto.begin(), resto.end());
        return runProcess(a);
    };
    const auto lido = emBash("", " 2>&1 | head -1; exit ${PIPESTATUS[0]}");
    EXPECT_EQ(lido.status, 0) << lido.err;
    EXPECT_EQ(std::count(lido.out.begin(), lido.out.end(), '\n'), 1) << lido.out;
    for (const char* f : {"01A31MAR.SAI", "01A31MAR.ENT", "ctr01A31MAR.txt", "pag01A31MAR.txt", "fca01A31MAR.txt"})
        EXPECT_EQ(file(f), readFile(dir.file("inteira/") + f)) << f;
    fs::remove_all(saida());
    const auto limitado = emBash("ulimit -f 100;", "");
    EXPECT_EQ(limitado.status, 1) << limitado.err;
    EXPECT_NE(limitado.err.find("O que fazer: O limite de tamanho de arquivo desta sessão (ulimit -f) é menor"),
              std::string::npos)
        << limitado.err;
    EXPECT_FALSE(fs::exists(saida()));
}

// Whatever stops the export on a period makes the check of that period end with errors.
TEST_F(Cli, TheCheckFindsEveryColumnTheExportCannotRead) {
    const std::pair<std::string, const char*> casos[] = {
        {procedimentoAlterado("RELATORIOAPURACAOICMS",
                              {{"    SITE                     VARCHAR(50),\n", ""}, {"C.SITE, ", ""}, {":SITE, ", ""}}),
         "Consulta das vendas;SITE;;coluna ausente"},
        {procedimentoAlterado(
             "SP_EXPORTAMOVIMENTO_BANCARIO",
             {{"    CENTROCUSTO      INTEGER,\n", ""}, {"M.CENTROCUSTO, ", ""}, {":CENTROCUSTO, ", ""}}),
         "Consulta do caixa/banco;CENTROCUSTO;;coluna ausente"},
        {procedimentoAlterado("SP_EXPORTAMOVIMENTO_BANCARIO",
                              {{"VALOR            NUMERIC(15,2)", "VALOR            DOUBLE PRECISION"}}),
         "Consulta do caixa/banco;Valor (VALOR);DOUBLE PRECISION;coluna do tipo DOUBLE PRECISION"},
    };
    for (const auto& [alteracao, erro] : casos) {
        SCOPED_TRACE(erro);
        recreate(alteracao);
        auto r = exporta();
        EXPECT_EQ(r.status, 1) << r.err;
        auto check = runProcess({ZORLA_CLI, "--verificar", "--empresa", "1", "--mes", "3", "--ano", "2008", "--config",
                                 banco.ini(), "--formato", "csv"});
        EXPECT_EQ(check.status, 4) << check.err;
        EXPECT_NE(check.out.find(std::string("Erro;") + erro), std::string::npos) << check.out;
    }
}

TEST_F(Cli, OptionsOfAnotherModeAndOutputsThatFailAreRefused) {
    const std::string ini = banco.ini();
    const std::pair<std::vector<std::string>, const char*> casos[] = {
        {{ZORLA_CLI, "--listar-empresas", "--config", ini, "--empresa", "1"},
         "--empresa não vale com --listar-empresas"},
        {{ZORLA_CLI, "--verificar", "--empresa", "1", "--mes", "3", "--ano", "2008", "--saida", saida()},
         "--saida não vale com --verificar"},
        {args({"--tarefas", "2"}), "--tarefas vale só com --lote"},
    };
    for (const auto& [comando, mensagem] : casos) {
        auto r = runProcess(comando);
        EXPECT_EQ(r.status, 2) << mensagem;
        EXPECT_NE(r.err.find(mensagem), std::string::npos) << r.err;
    }
    for (const char* texto : {"--help", "--version"}) {
        auto r = runProcess({"/bin/sh", "-c", "exec \"$0\" \"$1\" >/dev/full", ZORLA_CLI, texto});
        EXPECT_EQ(r.status, 1) << texto;
        EXPECT_NE(r.err.find("Falha ao gravar a saída padrão"), std::string::npos) << r.err;
    }
}

// A cancel that stops the purchases query is the cancel: said once, not as a failure besides.
TEST_F(Cli, ACancelDuringThePurchasesQuerySaysOneThing) {
    const std::string schema = readFile(std::string(ZORLA_SOURCE_DIR) + "/db/schema.sql");
    const auto start = schema.find("CREATE PROCEDURE RELATORIOAPURACAOICMS");
    const auto end = schema.find("\nAS\n", start);
    recreate("SET TERM ^ ;\nALTER" + schema.substr(start + 6, end - start - 6) +
             "\nAS DECLARE I BIGINT = 0; BEGIN IF (TIPOMOVIMENTO = 'E') THEN BEGIN WHILE (I < 10000000000) DO"
             " I = I + 1; SUSPEND; END END^\nSET TERM ; ^\n");
    std::thread sinal;
    auto r = exporta({}, [&](const std::string& err, pid_t pid) {
        if (sinal.joinable() || err.find("Gerando arquivo...") == std::string::npos) return;
        sinal = std::thread([pid] {
            // The sales book is a few lines: work beyond it is the purchases query looping.
            EXPECT_TRUE(test::esperaTrabalhar(pid, std::chrono::milliseconds(300)));
            kill(pid, SIGINT);
        });
    });
    ASSERT_TRUE(sinal.joinable()) << r.err;
    sinal.join();
    EXPECT_EQ(r.status, 130) << r.err;
    EXPECT_NE(r.err.find("Exportação cancelada!"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("Infelizmente"), std::string::npos) << r.err;
}

// Every file the programs read (a connection file, a batch and its lines' connection files, an exported file) is a
// regular file of a reasonable size, checked before a byte is read: a device would grow without end, a FIFO with no
// writer would hold the run and its signals.
TEST_F(Lote, EveryFileTheProgramReadsIsTextOfAReasonableSize) {
    fs::create_directory(dir.file("s1"));
    mkfifo(dir.file("fifo").c_str(), 0600);
    fs::create_symlink(dir.file("nada"), dir.file("quebrado"));
    fs::create_symlink(dir.file("circulo"), dir.file("circulo"));
    std::filesystem::resize_file((test::writeFile(dir.file("esparso.ini"), "[EMPRESA]\n"), dir.file("esparso.ini")),
                                 std::uintmax_t{3} << 30);
    test::writeFile(dir.file("grande.txt"), std::string((1u << 20) + 1, '#'));
    test::writeFile(dir.file("nul.txt"), std::string("a.ini;1;0001;vitima.txt\0x\n", 27));
    test::writeFile(dir.file("lote-fifo.txt"), "fifo;1;0001;s1\n");
    const std::vector<std::string> periodo = {"--mes", "3", "--ano", "2008"};
    const auto comando = [&](std::vector<std::string> a, bool comPeriodo) {
        a.insert(a.begin(), ZORLA_CLI);
        if (comPeriodo) a.insert(a.end(), periodo.begin(), periodo.end());
        return a;
    };
    struct Caso {
        std::vector<std::string> comando;
        int status;
        std::string mensagem;
    };
    const Caso casos[] = {
        {comando({"--lote", dir.path()}, true), 2, "é uma pasta: não é um arquivo de texto comum"},
        {comando({"--lote", "/dev/zero"}, true), 2, "O lote \"/dev/zero\" é um dispositivo"},
        {comando({"--lote", dir.file("fifo")}, true), 2, "é uma fila (FIFO): não é um arquivo de texto comum"},
        {comando({"--lote", dir.file("grande.txt")}, true), 2, "passa de 1 MiB"},
        {comando({"--lote", dir.file("nul.txt")}, true), 2,
         "lote, linha 1: o campo \"vitima.txt<NUL>x\" tem caracteres de controle"},
        {comando({"--lote", dir.file("lote-fifo.txt")}, true), 1,
         "Detalhe: O arquivo de conexão \"" + dir.file("fifo") + "\" é uma fila (FIFO)"},
        {comando({"--listar-empresas", "--config", "/dev/zero"}, false), 1,
         "Detalhe: O arquivo de conexão \"/dev/zero\" é um dispositivo: não é um arquivo de texto comum."},
        {comando({"--listar-empresas", "--config", "/dev/urandom"}, false), 1, "é um dispositivo"},
        {comando({"--listar-empresas", "--config", dir.file("fifo")}, false), 1, "é uma fila (FIFO)"},
        {comando({"--listar-empresas", "--config", dir.file("esparso.ini")}, false), 1,
         "\" passa de 1 MiB: não é o arquivo que o programa espera."},
        {comando({"--listar-empresas", "--config", dir.file("circulo")}, false), 1, "é um link em círculo"},
        {comando({"--conferir", "/dev/zero"}, false), 2,
         "O caminho /dev/zero é um dispositivo, não um arquivo exportado"},
        {comando({"--conferir", dir.file("fifo")}, false), 2, "é uma fila (FIFO), não um arquivo exportado"},
        {comando({"--conferir", dir.file("quebrado")}, false), 2, "é um link que não leva a nada"},
        {comando({"--conferir", dir.file("circulo")}, false), 2, "é um link em círculo"},
        {comando({"--conferir", dir.file("01A31MAR.SAI")}, false), 2, "não existe"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.comando[1] + " " + c.comando[2] + (c.comando.size() > 3 ? " " + c.comando[3] : ""));
        auto r = runProcess(c.comando, nullptr, std::chrono::seconds(20));
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.mensagem), std::string::npos) << r.err;
    }
    EXPECT_FALSE(fs::exists(dir.file("vitima.txt")));
    EXPECT_TRUE(fs::is_empty(dir.file("s1")));
}

// Two lines whose folders are, or will be once made, one directory: refused before anything runs, however they are
// spelt (a link to a folder not made yet, a link in the middle, "..", the same folder bound elsewhere).
TEST_F(Lote, TwoFoldersThatAreOneDirectoryAreRefused) {
    for (const char* p : {"s1", "s2", "real"}) fs::create_directory(dir.file(p));
    fs::create_symlink("nx/y", dir.file("pendente"));
    fs::create_symlink(dir.file("real"), dir.file("atalho"));
    const bool montou =
        std::system(("mount --bind '" + dir.file("s1") + "' '" + dir.file("s2") + "' 2>/dev/null").c_str()) == 0;
    const std::tuple<std::string, std::string, bool> casos[] = {
        {"nx/y", "pendente", true},
        {"real/novo", "atalho/novo/", true},
        {"atalho/../s1/a", "s1/a", true},
        {"nx/../z", "z", true},
        {"s1", "s2", montou},
        {"nx/y", "nx/z", false},
    };
    for (const auto& [uma, outra, mesma] : casos) {
        SCOPED_TRACE(uma + " / " + outra);
        auto r = runProcess(lote("a.ini;1;AAAA;" + uma + "\nb.ini;3;BBBB;" + outra + "\n"));
        if (mesma) {
            EXPECT_EQ(r.status, 2) << r.err;
            EXPECT_NE(r.err.find("é também a da linha 2"), std::string::npos) << r.err;
        } else {
            EXPECT_NE(r.status, 2) << r.err;
        }
    }
    if (montou) {
        EXPECT_EQ(std::system(("umount '" + dir.file("s2") + "'").c_str()), 0);
    }
    EXPECT_TRUE(fs::is_empty(dir.file("s1")));
    EXPECT_TRUE(fs::is_empty(dir.file("real")));
}

// Rows of many lines told apart: the batch line and its connection before the company.
TEST_F(Lote, CsvRowsNameTheirLineAndConnection) {
    for (const char* p : {"s1", "s2"}) fs::create_directory(dir.file(p));
    auto r = runProcess(lote("a.ini;1;0001;s1\nb.ini;1;0001;s2\n", {"--resumo", dir.file("resumo.csv")}));
    ASSERT_EQ(r.status, 3) << r.err;  // the demo's movements without an account
    const std::string csv = readFile(dir.file("resumo.csv"));
    for (const char* linha : {"2;a.ini;1;01A31MAR.SAI;", "3;b.ini;1;01A31MAR.SAI;"}) {
        const std::string l(linha);
        const std::string esperada = l.substr(0, 2) + dir.file(l.substr(2, 5)) + l.substr(7);
        EXPECT_NE(csv.find("\n" + esperada), std::string::npos) << csv;
    }
}

}  // namespace
}  // namespace zorla
