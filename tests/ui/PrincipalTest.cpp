#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFrame>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <cmath>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <optional>
#include <thread>
#include <tuple>

#include "base/VersaoDoArquivo.h"
#include "data/DMVantero.h"
#include "data/ProgramFolder.h"
#include "sistema/ArquivosNoDisco.h"
#include "sistema/TravaPasta.h"
#include "support/BancoDeTeste.h"
#include "support/Espera.h"
#include "support/JanelaFixture.h"
#include "support/LinhaValida.h"
#include "support/Process.h"
#include "support/RecordingDialogs.h"
#include "support/SampleData.h"
#include "support/ScriptedFiles.h"
#include "support/TempDir.h"
#include "support/TestDatabase.h"
#include "ui/BuildInfo.h"
#include "ui/JanelaComparacao.h"
#include "ui/JanelaVerificacao.h"
#include "ui/Principal.h"
#include "ui/SaidasModel.h"
#include "ui/ZorlaApplication.h"

namespace zorla {
namespace {

using namespace std::chrono;
using test::Janela;
using test::JanelaSemConta;

TEST_F(Janela, CaptionTitleAndVersion) {
    abre();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("ZORLA - Exportação para Lumetra [ Versão 3.0.0.4 ]"));
    EXPECT_EQ(ZorlaApplication::instance()->titulo(), QStringLiteral("Zorla Exporta"));
    // A display name of its own would be appended to the caption the window system shows.
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    // Qt's own buttons and dialogs speak Portuguese.
    QDialogButtonBox botoes(QDialogButtonBox::Cancel | QDialogButtonBox::Ok);
    EXPECT_EQ(botoes.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancelar"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Procurar em:"));
    const QString self = QCoreApplication::applicationFilePath();
    EXPECT_EQ(GetBuildInfo(self, "build"), "3.0.0.4");
    EXPECT_EQ(GetBuildInfo(self, "outro"), "3.0.0");
    test::writeFile(pasta().file("sem-versao"), std::string(3 << 20, 'x'));
    EXPECT_EQ(GetBuildInfo(QString::fromStdString(pasta().file("sem-versao")), "BUILD"), "0.0.0.0");
    EXPECT_EQ(GetBuildInfo(QString::fromStdString(pasta().file("nao-existe")), "BUILD"), "0.0.0.0");
    // A marker straddling two read blocks, and parts of two digits and more.
    auto m = marcadorVersao(3, 12, 0, 104);
    test::writeFile(pasta().file("com-versao"), std::string((1 << 20) - 7, 'y') + std::string(m.begin(), m.end()));
    EXPECT_EQ(GetBuildInfo(QString::fromStdString(pasta().file("com-versao")), "Build"), "3.12.0.104");
}

TEST_F(Janela, DefaultPeriodIsTheCurrentMonth) {
    const std::pair<Date, const char*> cases[] = {{2008y / 3 / 15, "Março 1-31 2008"},
                                                  {2008y / 2 / 1, "Fevereiro 1-29 2008"},
                                                  {2007y / 2 / 28, "Fevereiro 1-28 2007"}};
    for (const auto& [hoje, esperado] : cases) {
        SCOPED_TRACE(esperado);
        TearDown();
        abre(hoje);
        EXPECT_EQ(periodo(), QString::fromUtf8(esperado));
        EXPECT_EQ(c<QComboBox>("RxDBLkCbEMPRESA")->currentText(), QStringLiteral("Comércio"));
        EXPECT_TRUE(c<QLineEdit>("EdtCodEmpresa")->text().isEmpty());
    }
    EXPECT_EQ(w->DataInicial, Date{2007y / 2 / 1});
    EXPECT_EQ(w->DataFinal, Date{2007y / 2 / 28});
}

TEST_F(Janela, CompanyListFailureShowsTheErrorAndKeepsInitialValues) {
    std::filesystem::remove(ini());
    abre();
    EXPECT_EQ(periodo(), QStringLiteral("Janeiro 1-31 2007"));
    ASSERT_EQ(dialogs->boxes.size(), 1u);
    EXPECT_TRUE(dialogs->boxes[0].texto.startsWith(
        QString::fromStdString("Não foi possível conectar ao banco de dados.\nArquivo de conexão: " + ini() +
                               "\nO que fazer: Crie ou corrija")))
        << dialogs->boxes[0].texto.toStdString();
    EXPECT_TRUE(dialogs->boxes[0].texto.endsWith(
        QString::fromStdString("Driver/Connection Registry File '" + ini() + "' not found.")));
    EXPECT_EQ(dialogs->boxes[0].titulo, "Zorla Exporta");
    EXPECT_EQ(c<QComboBox>("RxDBLkCbEMPRESA")->count(), 0);
}

TEST_F(Janela, CompanyListFromAServerThatDoesNotAnswerLeavesTheWindowLive) {
    // Listening but never accepting: the client's connection waits for an answer that does not come.
    const int escuta = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in endereco{};
    endereco.sin_family = AF_INET;
    endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t tamanho = sizeof endereco;
    ASSERT_EQ(bind(escuta, reinterpret_cast<sockaddr*>(&endereco), tamanho), 0);
    ASSERT_EQ(listen(escuta, 4), 0);
    ASSERT_EQ(getsockname(escuta, reinterpret_cast<sockaddr*>(&endereco), &tamanho), 0);
    banco->escreveIni("[EMPRESA]\nDatabase=127.0.0.1/" + std::to_string(ntohs(endereco.sin_port)) + ":/nada.fdb\n");
    abre(2008y / 3 / 15, false);
    // The client has connected and waits for an answer: its connection is pending on the socket.
    pollfd pendente{escuta, POLLIN, 0};
    ASSERT_TRUE(QTest::qWaitFor([&] { return poll(&pendente, 1, 0) == 1; }, 20000));
    EXPECT_TRUE(w->carregandoEmpresas());
    QTest::mouseClick(c<QPushButton>("BtnConsultar"), Qt::LeftButton);
    QTest::mouseClick(c<QPushButton>("BtnVerificar"), Qt::LeftButton);
    EXPECT_EQ(dialogs->texts(), QStringList({"Aguarde a lista de empresas.", "Aguarde a lista de empresas."}));
    close(escuta);  // the waiting connection is reset
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->carregandoEmpresas(); }, 20000));
    ASSERT_EQ(dialogs->boxes.size(), 3u);
    EXPECT_EQ(dialogs->boxes[2].icone, MessageIcon::Error);
    EXPECT_EQ(periodo(), QStringLiteral("Janeiro 1-31 2007"));
}

TEST_F(Janela, MonthRule) {
    abre();
    c<QSpinBox>("EdtDiaInicial")->setValue(31);
    c<QComboBox>("CbxMes")->setCurrentIndex(3);
    emit c<QComboBox>("CbxMes")->activated(3);
    EXPECT_EQ(periodo(), QStringLiteral("Abril 31-30 2008"));
    EXPECT_EQ(c<QSpinBox>("EdtDiaFinal")->maximum(), 30);
    c<QComboBox>("CbxMes")->setCurrentIndex(1);
    emit c<QComboBox>("CbxMes")->activated(1);
    EXPECT_EQ(c<QSpinBox>("EdtDiaFinal")->value(), 29);
    c<QSpinBox>("EdtAno")->setValue(2007);
    EXPECT_EQ(c<QSpinBox>("EdtDiaFinal")->value(), 29);
    emit c<QComboBox>("CbxMes")->activated(1);
    EXPECT_EQ(c<QSpinBox>("EdtDiaFinal")->value(), 28);
    c<QSpinBox>("EdtDiaFinal")->setValue(10);
    emit c<QComboBox>("CbxMes")->activated(1);
    EXPECT_EQ(c<QSpinBox>("EdtDiaFinal")->value(), 28);
}

TEST_F(Janela, ConsultFillsGridNameAndLabel) {
    abre();
    consulta();
    EXPECT_TRUE(dialogs->boxes.empty()) << dialogs->texts().join("|").toStdString();
    EXPECT_EQ(c<QStatusBar>("StStatus")->currentMessage(), "  2 documentos");
    EXPECT_EQ(w->NomeArquivo, "01A31MAR");
    EXPECT_EQ(c<QLabel>("LblArquivo")->text(), QStringLiteral("ARQUIVO: 01A31MAR.SAI"));
    EXPECT_EQ(c<QProgressBar>("PgrMovimento")->maximum(), 2);
    EXPECT_FALSE(c<QLabel>("PnlStatus")->isVisible());
    EXPECT_EQ(c<QTableView>("DbGrdConsulta"), QApplication::focusWidget());
    const QAbstractItemModel* m = c<QTableView>("DbGrdConsulta")->model();
    ASSERT_EQ(m->rowCount(), 2);
    const QStringList titulos = {"Código",      "Data", "N° Documento", "Série",    "Valor",      "Nome",
                                 "Cód.Cliente", "CFOP", "Base ICMS",    "Alíquota", "Valor ICMS", "Valor ICMS Subst."};
    for (int c = 0; c < titulos.size(); ++c) EXPECT_EQ(m->headerData(c, Qt::Horizontal).toString(), titulos[c]);
    const int larguras[] = {75, 88, 35, 71, 396, 64, 64, 82, 64, 78, 120};
    for (int col = 1; col < 12; ++col)
        EXPECT_EQ(c<QTableView>("DbGrdConsulta")->columnWidth(col), larguras[col - 1]) << col;
    auto cell = [&](int r, int c) { return m->data(m->index(r, c)).toString(); };
    EXPECT_EQ(cell(0, 0), "S1");
    EXPECT_EQ(cell(0, 1), "05/03/2008");
    EXPECT_EQ(cell(0, 2), "NF000123");
    EXPECT_EQ(cell(0, 4), "1.234,50");
    EXPECT_EQ(cell(0, 9), "18,00");
    EXPECT_EQ(cell(1, 4), "10,00");
    EXPECT_EQ(cell(1, 10), "0,70");
    EXPECT_EQ(m->data(m->index(0, 3), Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
    EXPECT_EQ(m->data(m->index(1, 3), Qt::BackgroundRole).value<QColor>(), QColor(230, 230, 230));
    EXPECT_EQ(formataValor(Decimal{-123456789}), "-1.234.567,89");
    EXPECT_EQ(formataValor(Decimal{5}), "0,05");
}

// The chosen line of an open list, drawn as the operator sees it: its text must stand out from its background.
TEST_F(Janela, TheChosenLineOfAnOpenListIsLegible) {
    abre();
    const auto luminancia = [](QRgb c) {
        const auto canal = [](int v) {
            const double x = v / 255.0;
            return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * canal(qRed(c)) + 0.7152 * canal(qGreen(c)) + 0.0722 * canal(qBlue(c));
    };
    for (const char* nome : {"CbxMes", "RxDBLkCbEMPRESA"}) {
        SCOPED_TRACE(nome);
        auto* lista = c<QComboBox>(nome);
        lista->showPopup();
        QAbstractItemView* v = lista->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(v->window()));
        const QModelIndex linha = v->model()->index(0, 0);
        v->setCurrentIndex(linha);
        v->selectionModel()->select(linha, QItemSelectionModel::ClearAndSelect);
        const QImage imagem = v->viewport()->grab(v->visualRect(linha)).toImage();
        std::map<QRgb, int> cores;
        for (int y = 0; y < imagem.height(); ++y)
            for (int x = 0; x < imagem.width(); ++x) ++cores[imagem.pixel(x, y)];
        // The most frequent colour is the background; the darkest or lightest against it, the text.
        const QRgb fundo =
            std::max_element(cores.begin(), cores.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
        double contraste = 1;
        for (const auto& [cor, n] : cores) {
            const double a = luminancia(cor), b = luminancia(fundo);
            contraste = std::max(contraste, (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05));
        }
        // Antialiased text never reaches its full colour at this size; white on light grey stays under 1.5.
        EXPECT_GE(contraste, 3.0);
        lista->hidePopup();
    }
}

TEST_F(Janela, ConsultChecksAndRefusals) {
    abre();
    c<QSpinBox>("EdtDiaInicial")->setValue(5);
    c<QSpinBox>("EdtDiaFinal")->setValue(20);
    c<QComboBox>("CbxMes")->setCurrentIndex(10);
    consulta("");
    ASSERT_EQ(dialogs->texts(), QStringList{"Informe o código da empresa."});
    EXPECT_EQ(dialogs->boxes[0].titulo, "ZORLA");
    EXPECT_EQ(dialogs->boxes[0].icone, MessageIcon::Information);
    EXPECT_EQ(c<QLabel>("LblArquivo")->text(), QStringLiteral("ARQUIVO: 05A20NOV.SAI"));
    EXPECT_EQ(w->DataFinal, Date{2008y / 11 / 20});
    EXPECT_EQ(QApplication::focusWidget(), c<QLineEdit>("EdtCodEmpresa"));

    c<QComboBox>("RxDBLkCbEMPRESA")->setCurrentIndex(-1);
    consulta("12");
    EXPECT_EQ(dialogs->texts().last(), "Informe a empresa.");
    // A company the database does not have (the list may be older than the database): refused as on the command
    // line.
    auto* empresas = c<QComboBox>("RxDBLkCbEMPRESA");
    empresas->addItem(QStringLiteral("Apagada"), 99);
    empresas->setCurrentIndex(empresas->count() - 1);
    consulta("12");
    EXPECT_TRUE(dialogs->boxes.back().texto.contains("Empresa 99 não encontrada."))
        << dialogs->texts().join("|").toStdString();
    c<QComboBox>("RxDBLkCbEMPRESA")->setCurrentIndex(0);

    c<QComboBox>("CbxMes")->setCurrentIndex(3);
    c<QSpinBox>("EdtDiaFinal")->setValue(31);
    consulta("12");
    EXPECT_EQ(dialogs->boxes.back().texto, "'31/4/2008' is not a valid date.");
    EXPECT_EQ(dialogs->boxes.back().titulo, "Zorla Exporta");
    EXPECT_EQ(dialogs->boxes.back().icone, MessageIcon::Error);

    w->exportacao().Exportando = true;
    c<QLabel>("PnlStatus")->show();
    const auto antes = dialogs->boxes.size();
    consulta("12");
    EXPECT_EQ(c<QStatusBar>("StStatus")->currentMessage(),
              "  Não é permitido executar a consulta durante a exportação...");
    EXPECT_FALSE(c<QLabel>("PnlStatus")->isVisible());
    EXPECT_EQ(dialogs->boxes.size(), antes);
    w->exportacao().Cancelado = true;
    c<QComboBox>("CbxMes")->setCurrentIndex(2);
    consulta("  ");
    EXPECT_FALSE(w->exportacao().Exportando);
    EXPECT_FALSE(w->exportacao().Cancelado);
    EXPECT_EQ(c<QTableView>("DbGrdConsulta")->model()->rowCount(), 2);
}

TEST_F(Janela, VerificarListsTheProblemsAndLeavesTheConsultAlone) {
    abre();
    consulta();
    dialogs->salvaAoFechar = true;
    dialogs->arquivoEscolhido = QString::fromStdString(pasta().file("verificacao.csv"));
    QTest::mouseClick(c<QPushButton>("BtnVerificar"), Qt::LeftButton);
    EXPECT_TRUE(w->verificando());
    QTest::mouseClick(c<QPushButton>("BtnVantero"), Qt::LeftButton);
    EXPECT_EQ(dialogs->texts().last(), "Aguarde o fim da verificação.");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->verificando(); }, 20000));
    ASSERT_EQ(dialogs->verificacoes.size(), 1u) << dialogs->texts().join("|").toStdString();
    const ResultadoDaVerificacao& r = *dialogs->verificacoes[0];
    EXPECT_EQ(r.erros(), 0);
    EXPECT_GT(r.avisos(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->gravandoCsv(); }, 20000));
    const std::string csv = test::readFile(pasta().file("verificacao.csv"));
    EXPECT_EQ(csv.rfind("Tipo;Documento;Campo;Valor;Problema\r\n", 0), 0u);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + r.avisos());
    // A device that takes nothing: the operator is told.
    dialogs->arquivoEscolhido = QStringLiteral("/dev/full");
    QTest::mouseClick(c<QPushButton>("BtnVerificar"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->verificando() && !w->gravandoCsv(); }, 20000));
    EXPECT_EQ(dialogs->texts().last().toStdString(),
              "O caminho /dev/full é um dispositivo, não um arquivo comum: escolha outro nome para o arquivo CSV.");
    // The consult's rows are still the ones an export writes.
    EXPECT_EQ(c<QTableView>("DbGrdConsulta")->model()->rowCount(), 2);
    exporta(saida());
    ASSERT_TRUE(esperaFim());
    EXPECT_EQ(test::readFile(saida() + "/01A31MAR.SAI").size(), 2u * 549);
}

TEST(JanelaVerificacao, SortsItsTableByAnyColumn) {
    auto r = std::make_shared<ResultadoDaVerificacao>();
    r->problemas = {{Gravidade::Aviso, "Venda B", "CFOP", "1102", "CFOP de entrada numa venda"},
                    {Gravidade::Erro, "Caixa/Banco A", "CREDORA", "José", "sem código contábil definido"}};
    JanelaVerificacao janela(
        r, [] {}, nullptr);
    EXPECT_EQ(janela.findChild<QLabel*>("LblContagem")->text(), "1 erro, 1 aviso");
    auto* tabela = janela.findChild<QTableView*>("TblProblemas");
    ASSERT_EQ(tabela->model()->rowCount(), 2);
    EXPECT_EQ(tabela->model()->index(0, 1).data().toString(), "Venda B");  // the export's order at first
    const std::tuple<int, Qt::SortOrder, const char*> ordens[] = {
        {1, Qt::AscendingOrder, "Caixa/Banco A"},  {3, Qt::AscendingOrder, "Venda B"},
        {3, Qt::DescendingOrder, "Caixa/Banco A"}, {0, Qt::AscendingOrder, "Venda B"},
        {-1, Qt::AscendingOrder, "Venda B"},  // the export's order again
    };
    for (const auto& [coluna, ordem, primeiro] : ordens) {
        SCOPED_TRACE(coluna);
        tabela->sortByColumn(coluna, ordem);
        EXPECT_EQ(tabela->model()->index(0, 1).data().toString(), primeiro);
        // A row's cells stay together.
        EXPECT_EQ(tabela->model()->index(0, 0).data().toString(), primeiro[0] == 'C' ? "Erro" : "Aviso");
    }
}

// Many problems come ten thousand at a time as the table is scrolled to its end; a sort orders every one of them.
TEST(JanelaVerificacao, ManyProblemsComeAsScrolledAndASortOrdersThemAll) {
    auto r = std::make_shared<ResultadoDaVerificacao>();
    for (int i = 0; i < 25000; ++i)
        r->problemas.push_back({Gravidade::Aviso, "Venda " + std::to_string(100000 + i), "CFOP", "1102", "aviso"});
    JanelaVerificacao janela(
        r, [] {}, nullptr);
    EXPECT_EQ(janela.findChild<QLabel*>("LblContagem")->text(), "0 erros, 25000 avisos");
    auto* tabela = janela.findChild<QTableView*>("TblProblemas");
    QAbstractItemModel* m = tabela->model();
    for (const int esperadas : {10000, 20000, 25000}) {
        EXPECT_EQ(m->rowCount(), esperadas);
        EXPECT_EQ(m->canFetchMore({}), esperadas < 25000);
        m->fetchMore({});
    }
    EXPECT_EQ(m->rowCount(), 25000);
    tabela->sortByColumn(1, Qt::DescendingOrder);
    EXPECT_EQ(m->index(0, 1).data().toString(), "Venda 124999");
}

TEST_F(Janela, EmptyPeriodLeavesTheGaugeStillAtZero) {
    abre();
    c<QComboBox>("CbxMes")->setCurrentIndex(6);
    consulta();
    EXPECT_EQ(c<QTableView>("DbGrdConsulta")->model()->rowCount(), 0);
    // Minimum and maximum both 0 would be an endless busy animation.
    EXPECT_LT(c<QProgressBar>("PgrMovimento")->minimum(), c<QProgressBar>("PgrMovimento")->maximum());
    EXPECT_EQ(c<QProgressBar>("PgrMovimento")->value(), 0);
}

TEST_F(Janela, ParameterLabelsNeverTouchWhateverFontIsFound) {
    for (const char* fonte : {"DejaVu Sans", "DejaVu Sans Mono", "DejaVu Serif"}) {
        SCOPED_TRACE(fonte);
        QFont::insertSubstitution(QStringLiteral("Verdana"), QString::fromLatin1(fonte));
        TearDown();
        abre();
        QFont::removeSubstitutions(QStringLiteral("Verdana"));
        const QList<QLabel*> rotulos =
            c<QGroupBox>("GpBxParametros")->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
        ASSERT_EQ(rotulos.size(), 6);
        for (QLabel* a : rotulos) {
            EXPECT_GE(a->width(), a->fontMetrics().horizontalAdvance(a->text())) << a->text().toStdString();
            for (QLabel* b : rotulos) {
                if (a == b) continue;
                EXPECT_FALSE(a->geometry().adjusted(0, 0, 1, 0).intersects(b->geometry()))
                    << a->text().toStdString() << " / " << b->text().toStdString();
            }
        }
    }
}

TEST_F(Janela, EnterMovesFocusLikeTab) {
    abre();
    const std::pair<QWidget*, QWidget*> cases[] = {{c<QLineEdit>("EdtCodEmpresa"), c<QComboBox>("CbxMes")},
                                                   {c<QSpinBox>("EdtAno"), c<QPushButton>("BtnConsultar")}};
    for (auto [from, to] : cases) {
        from->setFocus();
        QTest::keyClick(from, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), to);
    }
    consulta();
    QTest::mouseClick(c<QPushButton>("BtnVantero"), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), c<QLineEdit>("EdtDiretorio"));
    QTest::keyClick(c<QLineEdit>("EdtDiretorio"), Qt::Key_Enter);
    EXPECT_EQ(QApplication::focusWidget(), c<QPushButton>("BtnContinuar"));
}

TEST_F(Janela, ExportFromTheButtonsWritesWhatTheHeadlessExporterWrites) {
    abre();
    QTest::mouseClick(c<QPushButton>("BtnVantero"), Qt::LeftButton);
    EXPECT_EQ(dialogs->texts(), QStringList{"Faça a consulta do período antes de exportar."});
    EXPECT_FALSE(c<QFrame>("PnlCaminhoArquivo")->isVisible());
    consulta();
    // Another company chosen after the consult: its purchases must not go with the consulted sales.
    auto* empresas = c<QComboBox>("RxDBLkCbEMPRESA");
    empresas->addItem(QStringLiteral("Outra"), 2);
    empresas->setCurrentIndex(empresas->count() - 1);
    dialogs->salvaAoFechar = true;
    dialogs->arquivoEscolhido = QString::fromStdString(pasta().file("resumo.csv"));
    exporta(saida() + "  ");
    EXPECT_EQ(w->Diretorio, saida() + "/");
    ASSERT_TRUE(esperaFim());
    EXPECT_EQ(dialogs->texts().last(),
              QString::fromStdString(
                  "Os arquivos foram gerados com sucesso.\rVocê pode encontra-los na pasta: " + saida() + "  "));
    // The totals behind "Mostrar detalhes…", and saved where the operator chose.
    EXPECT_TRUE(dialogs->ultimosDetalhes.contains("01A31MAR.SAI: 2 registros; VALOR 1.244,50;"))
        << dialogs->ultimosDetalhes.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->gravandoCsv(); }, 20000));
    EXPECT_EQ(test::readFile(pasta().file("resumo.csv")).rfind("Arquivo;TIPO;Registros;VALOR;", 0), 0u);
    EXPECT_EQ(ZorlaApplication::instance()->titulo(), "Zorla Exporta");
    EXPECT_EQ(w->windowTitle(), QStringLiteral("ZORLA - Exportação para Lumetra [ Versão 3.0.0.4 ]"));
    EXPECT_EQ(c<QLabel>("LblMovimento")->text(), "Status do processamento");
    EXPECT_EQ(c<QLabel>("LblArquivo")->text(), "");
    EXPECT_EQ(c<QProgressBar>("PgrMovimento")->value(), 0);
    EXPECT_FALSE(w->exportacao().Exportando);
    // The grid keeps the consulted sales; a second export without a new consult would write the purchases as
    // sales, so it waits for one.
    EXPECT_EQ(c<QTableView>("DbGrdConsulta")->model()->rowCount(), 2);
    EXPECT_EQ(c<QTableView>("DbGrdConsulta")->model()->index(0, 0).data().toString(), "S1");
    QTest::mouseClick(c<QPushButton>("BtnVantero"), Qt::LeftButton);
    EXPECT_EQ(dialogs->texts().last(), "Faça a consulta do período antes de exportar.");
    EXPECT_FALSE(c<QFrame>("PnlCaminhoArquivo")->isVisible());

    const std::string cli = pasta().file("cli");
    std::filesystem::create_directory(cli);
    sessao.reset();  // the embedded engine lets one process at a time open the file
    w.reset();
    auto r = test::runProcess({ZORLA_CLI, "--empresa", "1", "--codigo", "12", "--mes", "3", "--ano", "2008", "--saida",
                               cli, "--config", ini()});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* f : {"01A31MAR.SAI", "01A31MAR.ENT", "ctr01A31MAR.txt", "pag01A31MAR.txt", "fca01A31MAR.txt"}) {
        std::string janela = test::readFile(saida() + "/" + f);
        EXPECT_FALSE(janela.empty()) << f;
        EXPECT_EQ(janela, test::readFile(cli + "/" + f)) << f;
    }
}

// Another year's export in the folder: the window asks, No by default; No leaves every file as it was.
TEST_F(Janela, AnotherExportInTheFolderIsReplacedOnlyWhenTheOperatorSaysSo) {
    abre();
    consulta();
    exporta(saida());
    ASSERT_TRUE(esperaFim());
    const char* nomes[] = {"01A31MAR.SAI", "01A31MAR.ENT", "ctr01A31MAR.txt", "pag01A31MAR.txt", "fca01A31MAR.txt"};
    std::vector<std::string> antes;
    for (const char* f : nomes) antes.push_back(test::readFile(saida() + "/" + f));
    c<QSpinBox>("EdtAno")->setValue(2007);
    consulta();
    EXPECT_EQ(c<QStatusBar>("StStatus")->currentMessage(), "  Nenhum documento no período.");
    const auto caixas = dialogs->boxes.size();
    dialogs->responde = false;
    exporta(saida());
    ASSERT_EQ(dialogs->boxes.size(), caixas + 1);
    const std::string pergunta = dialogs->texts().last().toStdString();
    EXPECT_EQ(pergunta.rfind("A pasta " + saida() + " já tem a exportação de março/2008 da empresa 12 (gravada em ", 0),
              0u)
        << pergunta;
    EXPECT_FALSE(dialogs->simPorPadrao);
    EXPECT_FALSE(w->runEmAndamento());
    for (std::size_t i = 0; i < std::size(nomes); ++i) EXPECT_EQ(test::readFile(saida() + "/" + nomes[i]), antes[i]);
    dialogs->responde = true;
    exporta(saida());
    ASSERT_TRUE(esperaFim());
    EXPECT_EQ(test::readFile(saida() + "/01A31MAR.SAI"), "");
    EXPECT_TRUE(dialogs->ultimosDetalhes.contains("01A31MAR.SAI (substituído): 0 registros"))
        << dialogs->ultimosDetalhes.toStdString();
}

TEST_F(Janela, FolderPanelAndCancelWithoutARun) {
    abre();
    QTest::mouseClick(c<QPushButton>("BtnCancelar"),
                      Qt::LeftButton);  // nothing chosen yet: nothing to remove, no error
    EXPECT_TRUE(w->exportacao().Cancelado);
    consulta();
    {
        auto outra = TravaPasta::tenta(saida());  // another run writes there
        ASSERT_TRUE(outra);
        exporta(saida());
        EXPECT_EQ(dialogs->texts().last().toStdString(), MensagemPastaOcupada(saida()));
        EXPECT_FALSE(w->runEmAndamento());
    }
    exporta(saida() + "/");
    EXPECT_EQ(w->Diretorio, saida() + "/");
    ASSERT_TRUE(esperaFim());
    consulta();
    QTest::mouseClick(c<QPushButton>("BtnVantero"), Qt::LeftButton);
    EXPECT_EQ(c<QLineEdit>("EdtDiretorio")->text().toStdString(), programFolder());
    QTest::mouseClick(c<QPushButton>("BtnCancelarDiretorio"), Qt::LeftButton);
    EXPECT_FALSE(c<QFrame>("PnlCaminhoArquivo")->isVisible());
    EXPECT_EQ(w->Diretorio, saida() + "/");
    EXPECT_FALSE(w->exportacao().Exportando);

    QTest::mouseClick(c<QPushButton>("BtnCancelar"), Qt::LeftButton);
    EXPECT_FALSE(std::filesystem::exists(saida() + "/01A31MAR.SAI"));
    EXPECT_FALSE(std::filesystem::exists(saida() + "/01A31MAR.ENT"));
    EXPECT_TRUE(std::filesystem::exists(saida() + "/ctr01A31MAR.txt"));
    EXPECT_TRUE(w->exportacao().Cancelado);
    EXPECT_FALSE(w->exportacao().Exportando);
}

TEST_F(Janela, CancelDuringTheSalesLoop) {
    abre();
    test::ScriptedFiles gate;
    gate.holdAt = 2;
    w->usaArquivos(gate);
    consulta();
    exporta(saida());
    ASSERT_TRUE(QTest::qWaitFor([&] { return gate.held(); }, 10000));
    QTest::mouseClick(c<QPushButton>("BtnVantero"), Qt::LeftButton);
    EXPECT_EQ(dialogs->texts().last(), "Aguarde o fim da exportação em andamento.");
    w->exportacao().Exportando = false;
    w->exportacao().Cancelado = false;  // even with the flags cleared, a working run keeps consults away
    consulta();
    EXPECT_EQ(c<QStatusBar>("StStatus")->currentMessage(),
              "  Não é permitido executar a consulta durante a exportação...");
    QTest::mouseClick(c<QPushButton>("BtnCancelar"), Qt::LeftButton);
    EXPECT_TRUE(w->exportacao().Cancelado);
    EXPECT_EQ(c<QLabel>("LblMovimento")->text(), "Status do processamento");
    EXPECT_EQ(QApplication::focusWidget(), c<QLineEdit>("EdtCodEmpresa"));
    // Nothing is removed while the run still writes it.
    EXPECT_TRUE(std::filesystem::exists(saida() + "/01A31MAR.SAI"));
    gate.open();
    ASSERT_TRUE(esperaFim());
    EXPECT_EQ(dialogs->texts().last(), "Exportação cancelada!");
    EXPECT_EQ(test::readFile(saida() + "/ctr01A31MAR.txt").size(), 154u);
    // Once the run has closed its files, neither partial fiscal book remains, and the status stayed reset.
    EXPECT_FALSE(std::filesystem::exists(saida() + "/01A31MAR.SAI"));
    EXPECT_FALSE(std::filesystem::exists(saida() + "/01A31MAR.ENT"));
    EXPECT_EQ(c<QLabel>("LblMovimento")->text(), "Status do processamento");
    EXPECT_EQ(c<QProgressBar>("PgrMovimento")->value(), 0);
    EXPECT_FALSE(c<QLabel>("PnlStatus")->isVisible());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("ZORLA - Exportação para Lumetra [ Versão 3.0.0.4 ]"));
    EXPECT_TRUE(c<QTableView>("DbGrdConsulta")->updatesEnabled());
    consulta();
    EXPECT_EQ(c<QTableView>("DbGrdConsulta")->model()->rowCount(), 2);
}

// Two exports compared off the window's thread: a cancel lets it go unshown; its end opens the differences, the
// selected record's two versions side by side with the changed field marked, filtered by kind, sorted by value with
// the chosen row kept, saved as CSV.
TEST_F(Janela, ComparesTwoExportsAndShowsTheirDifferences) {
    const std::string antes = pasta().file("antes"), depois = pasta().file("depois");
    const Leiaute& l = LeiauteDaSaida();
    const auto documento = [&](const char* numero, const char* valor) {
        std::string linha = test::linhaValida(TipoArquivo::LivroSaidas);
        for (std::size_t i = 0; i < l.campos.size(); ++i) {
            const std::string_view nome = l.campos[i].nome;
            if (nome == "NUMERODOC") linha.replace(l.inicio(i), 6, numero);
            if (nome == "VALOR") linha.replace(l.inicio(i), 11, valor);
        }
        return linha + "\r\n";
    };
    // 1 and 3 changed, 2 removed, 4 new.
    const std::pair<std::string, std::string> lados[] = {
        {antes,
         documento("000001", "00000123450") + documento("000002", "00000123450") + documento("000003", "00000123450")},
        {depois,
         documento("000001", "00000099999") + documento("000003", "00000150000") + documento("000004", "00000123450")}};
    for (const auto& [p, conteudo] : lados) {
        std::filesystem::create_directories(p);
        test::writeFile(p + "/01A31MAR.SAI", conteudo);
    }
    abre();
    dialogs->comparacaoAntes = QString::fromStdString(antes);
    dialogs->comparacaoDepois = QString::fromStdString(depois);
    w->findChild<QAction*>(QStringLiteral("MnuComparar"))->trigger();
    EXPECT_TRUE(w->comparando());
    QTest::mouseClick(c<QPushButton>("BtnCancelar"), Qt::LeftButton);
    EXPECT_FALSE(w->comparando());
    EXPECT_EQ(c<QStatusBar>("StStatus")->currentMessage(), "  Comparação cancelada.");
    // A path's controls reach the refusal's box by name.
    dialogs->comparacaoAntes = QString::fromStdString(antes + "\x1B[2J\nX");
    w->findChild<QAction*>(QStringLiteral("MnuComparar"))->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->comparando(); }, 20000));
    ASSERT_FALSE(dialogs->boxes.empty());
    const QString recusa = dialogs->boxes.back().texto;
    EXPECT_TRUE(recusa.contains("antes<ESC>[2J<LF>X") && !recusa.contains(QChar(0x1B))) << recusa.toStdString();
    dialogs->comparacaoAntes = QString::fromStdString(antes);
    w->findChild<QAction*>(QStringLiteral("MnuComparar"))->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->comparando(); }, 20000));
    ASSERT_EQ(dialogs->comparacoes.size(), 1u) << dialogs->texts().join("|").toStdString();

    dialogs->salvaAoFechar = false;
    JanelaComparacao janela(
        dialogs->comparacoes[0], [] {}, w.get());
    auto* diferencas = janela.findChild<QTableView*>(QStringLiteral("TblDiferencas"));
    auto* registro = janela.findChild<QTableWidget*>(QStringLiteral("TblRegistro"));
    const QAbstractItemModel* modelo = diferencas->model();
    ASSERT_EQ(modelo->rowCount(), 4);
    EXPECT_EQ(modelo->index(0, 3).data().toString(), "Valor");
    EXPECT_EQ(modelo->index(0, 5).data().toString(), "999,99");
    int marcados = 0;
    for (int r = 0; r < registro->rowCount(); ++r) {
        if (!registro->item(r, 0)->font().bold()) continue;
        ++marcados;
        EXPECT_EQ(registro->item(r, 0)->text(), "Valor");
        EXPECT_EQ(registro->item(r, 1)->text(), "1.234,50");
    }
    EXPECT_EQ(marcados, 1);
    // Each choice of the filter shows its own kind of change, and only it.
    auto* mudanca = janela.findChild<QComboBox*>(QStringLiteral("CbxMudanca"));
    const std::pair<const char*, int> filtros[] = {{"alterado", 2}, {"removido", 1}, {"novo", 1}};
    for (int i = 0; i < 3; ++i) {
        mudanca->setCurrentIndex(i + 1);
        ASSERT_EQ(modelo->rowCount(), filtros[i].second) << filtros[i].first;
        for (int r = 0; r < modelo->rowCount(); ++r) EXPECT_EQ(modelo->index(r, 1).data().toString(), filtros[i].first);
    }
    // Amounts sort by value ("999,99" before "1.500,00"), and the chosen difference stays chosen.
    mudanca->setCurrentIndex(1);
    diferencas->selectRow(1);
    EXPECT_EQ(modelo->index(diferencas->currentIndex().row(), 5).data().toString(), "1.500,00");
    for (const auto& [ordem, primeiro, escolhida] :
         {std::tuple{Qt::AscendingOrder, "999,99", 1}, std::tuple{Qt::DescendingOrder, "1.500,00", 0}}) {
        diferencas->sortByColumn(5, ordem);
        EXPECT_EQ(modelo->index(0, 5).data().toString(), primeiro);
        EXPECT_EQ(diferencas->currentIndex().row(), escolhida);
    }

    dialogs->salvaAoFechar = true;
    dialogs->arquivoEscolhido = QString::fromStdString(pasta().file("comparacao.csv"));
    w->findChild<QAction*>(QStringLiteral("MnuComparar"))->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->comparando() && !w->gravandoCsv(); }, 20000));
    EXPECT_NE(test::readFile(pasta().file("comparacao.csv")).find(";alterado;"), std::string::npos);
}

class JanelaSemProcedimento : public Janela {
protected:
    std::string dados() override {
        return std::string(test::kDadosExemplo) + "DROP PROCEDURE RELATORIOAPURACAOICMS;\n";
    }
};

TEST_F(JanelaSemProcedimento, DatabaseFailureOfTheConsultShowsTheStandardErrorBox) {
    abre();
    c<QLineEdit>("EdtCodEmpresa")->setText("12");
    QTest::mouseClick(c<QPushButton>("BtnConsultar"), Qt::LeftButton);
    // The query's end is taken up only by the event loop, so the consult is still under way here.
    EXPECT_TRUE(w->consultando());
    QTest::mouseClick(c<QPushButton>("BtnVantero"), Qt::LeftButton);
    EXPECT_EQ(dialogs->texts(), QStringList{"Aguarde o fim da consulta."});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->consultando(); }, 20000));
    ASSERT_EQ(dialogs->boxes.size(), 2u);
    const auto& erro = dialogs->boxes.back();
    EXPECT_NE(erro.texto.indexOf("Procedure unknown"), -1) << erro.texto.toStdString();
    EXPECT_TRUE(erro.texto.endsWith('.'));
    EXPECT_EQ(erro.titulo, "Zorla Exporta");
    EXPECT_EQ(erro.icone, MessageIcon::Error);
    EXPECT_TRUE(c<QLabel>("PnlStatus")->isVisible());
    EXPECT_FALSE(c<QFrame>("PnlCaminhoArquivo")->isVisible());
}

class JanelaConsultaLenta : public Janela {
protected:
    // The fiscal procedure with its own parameters and columns, taking minutes before its first row.
    std::string dados() override {
        const std::string schema = test::readFile(std::string(ZORLA_SOURCE_DIR) + "/db/schema.sql");
        const auto start = schema.find("CREATE PROCEDURE RELATORIOAPURACAOICMS");
        const auto end = schema.find("\nAS\n", start);
        if (start == std::string::npos || end == std::string::npos) throw std::runtime_error("schema changed");
        return std::string(test::kDadosExemplo) + "SET TERM ^ ;\nALTER" + schema.substr(start + 6, end - start - 6) +
               "\nAS DECLARE I BIGINT = 0; BEGIN WHILE (I < 10000000000) DO I = I + 1; SUSPEND; END^\nSET TERM ; ^\n";
    }
};

TEST_F(JanelaConsultaLenta, ClosingStopsAConsultUnderWay) {
    abre();
    c<QLineEdit>("EdtCodEmpresa")->setText("12");
    QTest::mouseClick(c<QPushButton>("BtnConsultar"), Qt::LeftButton);
    ASSERT_TRUE(w->consultando());
    // The engine loops in the procedure on a thread of this process.
    const auto inicio = test::tempoDeProcessador(getpid());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return test::tempoDeProcessador(getpid()) >= inicio + std::chrono::milliseconds(300); }, 20000));
    ASSERT_TRUE(w->consultando()) << dialogs->texts().join("|").toStdString();
    QElapsedTimer relogio;
    relogio.start();
    w->close();
    EXPECT_FALSE(w->consultando());
    EXPECT_LT(relogio.elapsed(), 10000);
    w.reset();
    sessao.reset();
}

TEST_F(JanelaSemConta, ClosingDuringARunStopsTheWorkerFirst) {
    abre();
    dialogs->holdBoxes = true;
    consulta();
    exporta(saida());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs->waiting.empty(); }, 10000))
        << dialogs->texts().join("|").toStdString();
    EXPECT_EQ(dialogs->texts().last(), "José\r\nsem código contábil definido.");
    EXPECT_TRUE(w->runEmAndamento());
    QTest::mouseClick(c<QPushButton>("BtnFechar"), Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(w->exportacao().Cancelado);
    // The window goes at once; the run's end comes through its host, and nothing it reports is shown any more.
    const auto caixas = dialogs->boxes.size();
    EXPECT_TRUE(esperaFim());
    EXPECT_EQ(dialogs->boxes.size(), caixas);
    w.reset();
    sessao.reset();
    dialogs->waiting.clear();
}

// The movement without an account is written with the account blank: the end box says so, beside the success.
TEST_F(JanelaSemConta, TheEndBoxCountsTheMovementsWrittenWithoutAnAccount) {
    abre();
    consulta();
    exporta(saida());
    ASSERT_TRUE(esperaFim());
    const QString fim = dialogs->texts().last();
    EXPECT_TRUE(fim.startsWith("Os arquivos foram gerados com sucesso.")) << fim.toStdString();
    EXPECT_TRUE(fim.endsWith("\r\r1 movimento foi gravado sem código contábil (conta em branco): veja os detalhes."))
        << fim.toStdString();
    EXPECT_TRUE(dialogs->ultimosDetalhes.startsWith("Pendências: 1 movimento gravado sem código contábil"))
        << dialogs->ultimosDetalhes.toStdString();
}

}  // namespace
}  // namespace zorla
