#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <tuple>

#include "data/DMVantero.h"
#include "data/DbError.h"
#include "export/Resumo.h"
#include "export/ThProcessa.h"
#include "support/EstadoDoModulo.h"
#include "support/EventosGravados.h"
#include "support/MemoryTable.h"
#include "support/ScriptedFiles.h"
#include "support/TempDir.h"

namespace zorla {
namespace {

using namespace std::chrono;
using test::Row;

std::string espacos(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

Row venda(const char* cod, const char* doc, std::int64_t valor) {
    return Row{{"CODMOVESTOQUE", cod}, {"DATAMOVIMENTO", Date{2008y / 3 / 5}}, {"AGRUPAMENTO", "NFT"},
               {"NUMERODOC", doc},     {"DATADOCUMENTO", Date{2008y / 3 / 5}}, {"VALOR", Decimal{valor}}};
}

Row movimento(const char* operacao, const char* deb, const char* cred, const char* doc, std::int64_t valor) {
    return Row{{"OPERACAO", operacao},
               {"DEVEDORA", deb},
               {"CREDORA", cred},
               {"DOCUMENTO", doc},
               {"VALOR", Decimal{valor}},
               {"PARCELA", 1},
               {"DATA", Date{2009y / 3 / 5}},
               {"NOMECREDOR", "Credor"},
               {"NOMEDEVEDOR", "Devedor"},
               {"HISTORICO", "Tarifa banc\xE1ria"}};
}

class Run : public ::testing::Test {
protected:
    void SetUp() override {
        fontes(dm);
        params.Diretorio = dir.folder();
        params.NomeArquivo = "01A31MAR";
        params.DataInicial = 2008y / 3 / 1;
        params.DataFinal = 2008y / 3 / 31;
        params.Empresa = 1;
        params.CodigoEmpresa = "77";
    }
    // The module's queries read the test's rows; `falha` names one that fails instead.
    void fontes(TFDMExporta& d) {
        EstadoDoModulo(d).CDSSaidas.setProvider([this, &d] {
            const bool compras = *EstadoDoModulo(d).QSaidas.paramByName("TIPOMOVIMENTO").value.text() == "E";
            if (falha == (compras ? "compras" : "vendas")) throw DbError("falha simulada nas " + falha);
            return test::memoryTable(EstadoDoModulo(d).CDSSaidas, compras ? compras_ : vendas);
        });
        EstadoDoModulo(d).CDSMovimento.setProvider([this, &d] {
            if (falha == "movimento") throw DbError("falha simulada no movimento");
            return test::memoryTable(EstadoDoModulo(d).CDSMovimento, movimentos);
        });
    }
    // Modules on other "attachments", as the run asks for them.
    ConsultaParalela::NovoModulo outrosModulos() {
        return [this] {
            auto d = std::make_unique<TFDMExporta>("/nonexistent/dbxconnections.ini");
            fontes(*d);
            return d;
        };
    }
    void consulta() {
        EstadoDoModulo(dm).QSaidas.paramByName("TIPOMOVIMENTO").value = "S";
        EstadoDoModulo(dm).CDSSaidas.close();
        EstadoDoModulo(dm).CDSSaidas.open();
    }
    // In turn on one module; purchases and movements on modules of their own; those with the sales fetched by the
    // run itself as it writes (the command line's); those two started before the run (the window's, with its
    // consult); or a server that takes no more attachments.
    enum class Modo { Serie, Paralelo, AoGravar, Antecipadas, SemOutraConexao };
    OutrasConsultas outras(Modo modo) {
        switch (modo) {
            case Modo::Paralelo:
            case Modo::AoGravar:
                return {{}, outrosModulos()};
            case Modo::SemOutraConexao:
                return {{}, []() -> std::unique_ptr<TFDMExporta> { throw DbError("too many connections"); }};
            case Modo::Antecipadas:
                return {
                    ConsultasAntecipadas::inicia(outrosModulos(), params.DataInicial, params.DataFinal, params.Empresa),
                    {}};
            case Modo::Serie:
                break;
        }
        return {};
    }
    ResultadoDaExportacao run(DestinoDosArquivos& files, Modo modo = Modo::Serie) {
        const int antes = host.fins();
        ThProcessa th(dm, modo == Modo::AoGravar ? FonteDasVendas::Busca : FonteDasVendas::Consulta, outras(modo),
                      params, host, files, host.parada.get_token());
        th.wait();
        EXPECT_EQ(host.fins(), antes + 1);
        EXPECT_EQ(host.events().back(), "fim " + std::to_string(static_cast<int>(th.resultado().desfecho)));
        EXPECT_FALSE(EstadoDoModulo(dm).CDSSaidas.controlsDisabled());
        return th.resultado();
    }
    ResultadoDaExportacao run(Modo modo = Modo::Serie) {
        ArquivosNoDisco disk;
        return run(disk, modo);
    }
    std::string file(const std::string& name) { return test::readFile(dir.file(name)); }
    bool exists(const std::string& name) { return std::filesystem::exists(dir.file(name)); }

    TFDMExporta dm{"/nonexistent/dbxconnections.ini"};
    test::EventosGravados host;
    test::TempDir dir;
    ParametrosDaExecucao params;
    std::vector<Row> vendas, compras_, movimentos;
    std::string falha;
};

TEST_F(Run, WritesFiveFilesInOrderReportingWhatHappens) {
    vendas = {venda("V1", "000001", 100), venda("V2", "000002", 200)};
    compras_ = {venda("C1", "000009", 900)};
    movimentos = {movimento("V", "1120003", "2110005", "004512", 123450),
                  movimento("C", "2110005", "1120003", "000777", 50), movimento("F", "6110001", "1120003", "", 1000),
                  movimento("X", "1", "2", "3", 4)};
    consulta();
    const ResultadoDaExportacao r = run();
    EXPECT_EQ(r.desfecho, Desfecho::Concluido);
    EXPECT_EQ(r.erro, "");

    std::string sai = file("01A31MAR.SAI");
    ASSERT_EQ(sai.size(), 2u * 549);
    EXPECT_EQ(sai.substr(0, 5), "S77  ");
    EXPECT_EQ(sai.substr(547, 2), "\r\n");
    std::string ent = file("01A31MAR.ENT");
    ASSERT_EQ(ent.size(), 253u);
    EXPECT_EQ(ent.substr(0, 5), "E77  ");
    EXPECT_EQ(file("ctr01A31MAR.txt").size(), 2u * 77);
    EXPECT_EQ(file("pag01A31MAR.txt").size(), 2u * 77);
    EXPECT_EQ(file("fca01A31MAR.txt").size(), 77u);

    const std::vector<std::string> expected = {
        "arquivo 01A31MAR.SAI",
        "etapa 0 2",
        "registro 1 V1",
        "registro 2 V2",
        "arquivo 01A31MAR.ENT",
        "etapa 1 1",
        "registro 1 C1",
        "etapa 2 4",
        "arquivo ctr01A31MAR.txt",
        "registro 1",
        "arquivo pag01A31MAR.txt",
        "registro 2",
        "arquivo fca01A31MAR.txt",
        "registro 3",
        "fim 0",
    };
    EXPECT_EQ(host.events(), expected);
    const std::pair<const char*, long> files[] = {{"01A31MAR.SAI", 2},
                                                  {"01A31MAR.ENT", 1},
                                                  {"ctr01A31MAR.txt", 2},
                                                  {"pag01A31MAR.txt", 2},
                                                  {"fca01A31MAR.txt", 1}};
    ASSERT_EQ(r.arquivos.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(r.arquivos[i].caminho, dir.file(files[i].first));
        EXPECT_EQ(r.arquivos[i].linhas, files[i].second);
        EXPECT_TRUE(r.arquivos[i].completo);
    }
    // The sales rows are replaced by the purchases, and no filter is left on the movements.
    EXPECT_EQ(EstadoDoModulo(dm).CDSSaidas.recordCount(), 1);
    EXPECT_EQ(EstadoDoModulo(dm).CDSMovimento.recordCount(), 4);
}

// A purchases book left by an earlier run would be imported as this period's: it goes, and the run says so.
TEST_F(Run, EmptyConsultWritesEmptySalesFileAndRemovesAnOlderPurchasesBook) {
    test::writeFile(dir.file("01A31MAR.ENT"), "antigo");
    consulta();
    const ResultadoDaExportacao r = run();
    EXPECT_EQ(r.desfecho, Desfecho::Concluido);
    EXPECT_TRUE(exists("01A31MAR.SAI"));
    EXPECT_EQ(file("01A31MAR.SAI"), "");
    EXPECT_FALSE(exists("01A31MAR.ENT"));
    ASSERT_EQ(r.apagados.size(), 1u);
    EXPECT_EQ(NomeDoArquivo(r.apagados[0]), "01A31MAR.ENT");
    EXPECT_NE(TextoDoResumo(r).find("01A31MAR.ENT: apagado"), std::string::npos) << TextoDoResumo(r);
    for (const char* f : {"ctr01A31MAR.txt", "pag01A31MAR.txt", "fca01A31MAR.txt"}) {
        EXPECT_TRUE(exists(f)) << f;
        EXPECT_EQ(file(f), "") << f;
    }
    const auto ev = host.events();
    EXPECT_NE(std::find(ev.begin(), ev.end(), "etapa 0 0"), ev.end());
}

TEST_F(Run, CancelDuringSalesStillWritesPurchasesFileEmptyAndEntries) {
    for (int i = 0; i < 17; ++i) vendas.push_back(venda("V", "000001", 1));
    compras_ = {venda("C1", "000009", 900)};
    movimentos = {movimento("V", "1120003", "2110005", "004512", 123450)};
    test::writeFile(dir.file("01A31MAR.ENT"), "antigo");
    host.cancelAtRecord = 5;
    consulta();
    EXPECT_EQ(run().desfecho, Desfecho::Cancelado);
    EXPECT_EQ(file("01A31MAR.SAI").size(), 5u * 549);
    EXPECT_EQ(file("01A31MAR.ENT"), "");
    EXPECT_EQ(file("ctr01A31MAR.txt").size(), 2u * 77);
    const auto ev = host.events();
    EXPECT_EQ(std::count(ev.begin(), ev.end(), "cancelado"), 1);
}

TEST_F(Run, FailuresEndTheRunWithTheErrorsText) {
    struct Case {
        const char* what;
        std::function<void()> prepara;
        const char* erro;
    };
    const Case cases[] = {
        {"missing folder", [&] { params.Diretorio = dir.file("nao-existe") + "/"; }, "Falha ao criar o arquivo"},
        {"run without a consult", [&] { EstadoDoModulo(dm).CDSSaidas.close(); },
         "CDSSaidas: Cannot perform this operation on a closed dataset"},
        {"overflowing amount",
         [&] {
             vendas = {venda("V1", "NF000001", 100000000000)};
             consulta();
         },
         "Documento NF000001: o valor 1000000000,00 do campo VALOR não cabe em 11 posições."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        consulta();
        c.prepara();
        const ResultadoDaExportacao r = run();
        EXPECT_EQ(r.desfecho, Desfecho::Falhou);
        EXPECT_NE(r.erro.find(c.erro), std::string::npos) << r.erro;
        params.Diretorio = dir.folder();
        vendas.clear();
    }
    EXPECT_EQ(file("01A31MAR.SAI").size(), 0u);  // the overflowing record was never written
}

TEST_F(Run, WriteOrCloseFailureAnywhereEndsInFailureNamingTheFile) {
    vendas = {venda("V1", "000001", 100), venda("V2", "000002", 200)};
    compras_ = {venda("C1", "000009", 900)};
    movimentos = {movimento("V", "1120003", "2110005", "004512", 123450), movimento("C", "1", "2", "3", 4),
                  movimento("F", "1", "2", "3", 4)};
    consulta();
    test::ScriptedFiles counting;
    ASSERT_EQ(run(counting).desfecho, Desfecho::Concluido);
    const int total = counting.operations();
    // 2 + 1 fiscal lines, 2 + 2 + 1 entry lines, five closes.
    ASSERT_EQ(total, 13);
    for (int failAt = 1; failAt <= total; ++failAt) {
        SCOPED_TRACE(failAt);
        consulta();
        test::ScriptedFiles failing;
        failing.failAt = failAt;
        const ResultadoDaExportacao r = run(failing);
        EXPECT_EQ(r.desfecho, Desfecho::Falhou);
        EXPECT_NE(r.erro.find("falha simulada de "), std::string::npos);
        EXPECT_EQ(std::count_if(r.arquivos.begin(), r.arquivos.end(), [](const auto& a) { return !a.completo; }), 1);
    }
}

// The purchases and the movements fetched on their own modules while the sales book is written, and the sales
// fetched by the run as it writes them, a few batches at a time: the same bytes and the same events as one query
// after the other, whatever the sizes (the sales' count is not known beforehand when they arrive as they are
// written); a failure of any query ends the run as before, and a cancel in the sales ends that book as before.
TEST_F(Run, ParallelAndStreamedQueriesWriteWhatSerialOnesWrite) {
    const auto gera = [](int n, auto linha) {
        std::vector<Row> rows;
        for (int i = 0; i < n; ++i) rows.push_back(linha(i));
        return rows;
    };
    const char* const operacoes[] = {"V", "C", "F", "X"};
    const char* const arquivos[] = {"01A31MAR.SAI", "01A31MAR.ENT", "ctr01A31MAR.txt", "pag01A31MAR.txt",
                                    "fca01A31MAR.txt"};
    std::pair<std::vector<std::string>, std::vector<std::string>> serie;
    const auto executa = [&](Modo modo) {
        const auto antes = static_cast<long>(host.events().size());
        if (modo != Modo::AoGravar) consulta();
        const ResultadoDaExportacao r = run(modo);
        std::vector<std::string> lido{std::to_string(static_cast<int>(r.desfecho))};
        for (const char* f : arquivos) lido.push_back(exists(f) ? file(f) : "(nenhum)");
        lido.push_back(r.erro);
        auto eventos = host.events();
        eventos.erase(eventos.begin(), eventos.begin() + antes);
        std::replace(eventos.begin(), eventos.end(), std::string("etapa 0 -1"),
                     "etapa 0 " + std::to_string(vendas.size()));
        return std::pair{lido, eventos};
    };
    for (const auto& [nVendas, nCompras, nMovimentos] :
         {std::tuple{0, 0, 0}, std::tuple{3, 0, 5}, std::tuple{0, 2, 0}, std::tuple{9000, 700, 2001}}) {
        SCOPED_TRACE(std::to_string(nVendas) + " " + std::to_string(nCompras) + " " + std::to_string(nMovimentos));
        vendas = gera(nVendas, [](int i) { return venda("V", std::to_string(100000 + i).c_str(), i * 37); });
        compras_ = gera(nCompras, [](int i) { return venda("C", std::to_string(200000 + i).c_str(), i * 11 - 5); });
        movimentos = gera(nMovimentos, [&](int i) {
            return movimento(operacoes[i % 4], "1120003", i % 7 ? "2110005" : "", std::to_string(i).c_str(), i * 3);
        });
        serie = executa(Modo::Serie);
        EXPECT_EQ(serie.first[0], "0");
        EXPECT_EQ(executa(Modo::Paralelo), serie);
        EXPECT_EQ(executa(Modo::AoGravar), serie);
        EXPECT_EQ(executa(Modo::Antecipadas), serie);
        EXPECT_EQ(executa(Modo::SemOutraConexao), serie);
    }
    // Cancelled at the fifth sale: five records, an empty purchases book, the movements written.
    vendas = gera(9000, [](int i) { return venda("V", std::to_string(100000 + i).c_str(), 1); });
    host.cancelAtRecord = 5;
    const std::vector<std::string> cancelado = executa(Modo::AoGravar).first;
    EXPECT_EQ(cancelado[0], std::to_string(static_cast<int>(Desfecho::Cancelado)));
    EXPECT_EQ(cancelado[1].size(), 5u * 549);
    EXPECT_EQ(cancelado[2], "");
    EXPECT_EQ(cancelado[3], serie.first[3]);  // the receipts, as the last sizes' serial run wrote them
    host.cancelAtRecord = -1;
    host.parada = std::stop_source();
    for (const Modo modo : {Modo::AoGravar, Modo::Antecipadas})
        for (const char* q : {"vendas", "compras", "movimento"}) {
            // Sales consulted before the run fail the consult, not the run.
            if (modo == Modo::Antecipadas && q == std::string("vendas")) continue;
            SCOPED_TRACE(std::string(q) + (modo == Modo::Antecipadas ? ", antecipadas" : ""));
            falha = q;
            const std::vector<std::string> lido = executa(modo).first;
            EXPECT_EQ(lido[0], std::to_string(static_cast<int>(Desfecho::Falhou)));
            EXPECT_EQ(lido[1].size() % 549, 0u);
            EXPECT_NE(lido.back().find(std::string("falha simulada n") + (falha == "movimento" ? "o " : "as ") + falha),
                      std::string::npos)
                << lido.back();
        }
}

// A run of movements alone: what one entry file holds.
class Lancamentos : public Run {
protected:
    std::string exporta(const std::vector<Row>& rows, const char* arquivo) {
        movimentos = rows;
        consulta();
        desfecho = run().desfecho;
        return file(arquivo);
    }
    Desfecho desfecho = Desfecho::Concluido;
};

TEST_F(Lancamentos, WorkedExampleOfAReceipt) {
    Row r = movimento("V", "1120003", "2110005", "004512", 123450);
    r["PARCELA"] = 2;
    const std::string head =
        "1120003"
        "2110005"
        "  "
        "004512"
        "     ";
    const std::string expected = head + "1" + "RECEBIMENTO DE TITULO N\xBA" + espacos(5) + "000000000000" + "050309" +
                                 "\r\n" + head + "2" + "004512/2" + espacos(21) + "000000123450" + "050309" + "\r\n";
    EXPECT_EQ(exporta({r}, "ctr01A31MAR.txt"), expected);
    EXPECT_EQ(file("pag01A31MAR.txt"), "");
    EXPECT_EQ(file("fca01A31MAR.txt"), "");
}

TEST_F(Lancamentos, PaymentHistoryKeepsDocumentBlanksAndNullInstalment) {
    Row r = movimento("C", "2110005", "1120003", "123", 7);
    r["PARCELA"] = Value{};
    const std::string head =
        "2110005"
        "1120003"
        "  "
        "123   "
        "     ";
    const std::string expected = head + "1" + "PAGAMENTO DE TITULO N\xBA" + espacos(7) + "000000000000" + "050309" +
                                 "\r\n" + head + "2" + "123   /" + espacos(22) + "000000000007" + "050309" + "\r\n";
    EXPECT_EQ(exporta({r}, "pag01A31MAR.txt"), expected);
}

TEST_F(Lancamentos, GeneralExpenseHistoriesAroundTwentyNineCharacters) {
    const std::string head =
        "6110001"
        "1120003"
        "  "
        "ABCDEF"
        "     ";
    struct Case {
        const char* what;
        std::string historico;
        std::string lines;
    };
    const std::string h29(29, 'h'), h30 = std::string(29, 'h') + "i", h50(50, 'k');
    const std::vector<Case> cases = {
        {"exactly 29", h29, head + "1" + h29 + "000000001000" + "050309\r\n"},
        {"30 gives two lines", h30,
         head + "1" + h29 + "000000000000" + "050309\r\n" + head + "2" + "i" + espacos(28) + "000000001000" +
             "050309\r\n"},
        {"leading blanks: tested trimmed, cut as stored", "  " + std::string(28, 'b'),
         head + "1" + "  " + std::string(27, 'b') + "000000001000" + "050309\r\n"},
        {"50 characters", h50,
         head + "1" + std::string(29, 'k') + "000000000000" + "050309\r\n" + head + "2" + std::string(21, 'k') +
             espacos(8) + "000000001000" + "050309\r\n"},
        {"null history", "", head + "1" + espacos(29) + "000000001000" + "050309\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Row r = movimento("F", "6110001", "1120003", "ABCDEFGHIJK", 1000);
        r["HISTORICO"] = c.historico.empty() ? Value{} : Value{c.historico};
        EstadoDoModulo(dm).CDSMovimento.close();
        EXPECT_EQ(exporta({r}, "fca01A31MAR.txt"), c.lines);
    }
}

TEST_F(Lancamentos, CostCentreRule) {
    struct Case {
        Value centro;
        Value local;
        const char* deb;
        const char* cred;
        std::string accounts;  // positions 1–14
    };
    const Case cases[] = {
        {1, "D", "6110001", "6220002",
         "6110101"
         "6220002"},
        {2, "D", "6110001", "6220002",
         "6110201"
         "6220002"},
        {99, "C", "6110001", "6220002",
         "6110001"
         "6220202"},
        {1, Value{}, "6110001", "6220002",
         "6110001"
         "6220102"},
        {0, "D", "6110001", "6220002",
         "6110001"
         "6220002"},
        {-1, "D", "6110001", "6220002",
         "6110001"
         "6220002"},
        {Value{}, "D", "6110001", "6220002",
         "6110001"
         "6220002"},
        {1, "D", "5110001", "6220002",
         "5110001"
         "6220002"},
        {1, "D", "6", "6220002",
         "6  01  "
         "6220002"},
        {1, "d", "6110001", "6220002",
         "6110001"
         "6220102"},
        {2, "D", "611000123456", "62200029",
         "6110201"
         "6220002"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.accounts);
        Row r = movimento("F", c.deb, c.cred, "1", 1);
        r["CENTROCUSTO"] = c.centro;
        r["LOCAL_CCUSTO"] = c.local;
        EstadoDoModulo(dm).CDSMovimento.close();
        EXPECT_EQ(exporta({r}, "fca01A31MAR.txt").substr(0, 14), c.accounts);
    }
}

TEST_F(Lancamentos, MissingAccountsAreReportedAndWrittenAsBlanks) {
    Row semCredora = movimento("F", "6110001", "", "1", 1);
    semCredora["NOMECREDOR"] = "Jo\xE3o";
    Row semAmbas = movimento("F", "", "", "2", 1);
    Row semDevedora = movimento("F", "", "1120003", "3", 1);
    semDevedora["NOMEDEVEDOR"] = "Caf\xE9 \x80";
    Row brancos = movimento("F", "   ", "1120003", "4", 1);
    std::string out = exporta({semCredora, semAmbas, semDevedora, brancos}, "fca01A31MAR.txt");
    EXPECT_EQ(host.avisos(), (std::vector<std::string>{"João\r\nsem código contábil definido.",
                                                       "Credor\r\nsem código contábil definido.",
                                                       "Café €\r\nsem código contábil definido."}));
    ASSERT_EQ(out.size(), 4u * 77);
    EXPECT_EQ(out.substr(0, 14), "6110001" + espacos(7));
    EXPECT_EQ(out.substr(77, 14), espacos(14));
    EXPECT_EQ(out.substr(154, 14), espacos(7) + "1120003");
}

TEST_F(Lancamentos, OlderEntryFileIsReplacedAndNegativeAndMissingValuesKeepTheLength) {
    test::writeFile(dir.file("fca01A31MAR.txt"), std::string(1000, 'x'));
    Row negativo = movimento("F", "1", "2", "1", -1234);
    Row semData = movimento("F", "1", "2", "1", 0);
    semData["DATA"] = Value{};
    std::string out = exporta({negativo, semData}, "fca01A31MAR.txt");
    ASSERT_EQ(out.size(), 2u * 77);
    EXPECT_EQ(out.substr(57, 18), "0000000-1234050309");
    EXPECT_EQ(out.substr(77 + 57, 18), "000000000000" + espacos(6));
}

TEST_F(Lancamentos, AmountOfTenBillionFails) {
    exporta({movimento("V", "1", "2", "DOC1", 1000000000000)}, "ctr01A31MAR.txt");
    EXPECT_EQ(desfecho, Desfecho::Falhou);
    exporta({movimento("V", "1", "2", "DOC1", 999999999999)}, "ctr01A31MAR.txt");
    EXPECT_EQ(desfecho, Desfecho::Concluido);
}

}  // namespace
}  // namespace zorla
