#include "Principal.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <condition_variable>
#include <filesystem>
#include <thread>

#include "BuildInfo.h"
#include "DMVantero.h"
#include "OutputFiles.h"
#include "ProgramFolder.h"
#include "Process.h"
#include "RecordingDialogs.h"
#include "ScriptedFiles.h"
#include "SaidasModel.h"
#include "SampleData.h"
#include "TempDir.h"
#include "TestDatabase.h"
#include "TravaPasta.h"
#include "WindowHost.h"
#include "ZorlaApplication.h"

namespace zorla {
namespace {

using namespace std::chrono;

class Janela : public ::testing::Test {
protected:
    void SetUp() override {
        db = test::createTestDatabase(dir.file("zorla.fdb"), false);
        test::runSql(db, dados());
        test::writeFile(ini(), "[EMPRESA]\nDatabase=" + db + "\n");
        auto owned = std::make_unique<test::RecordingDialogs>();
        dialogs = owned.get();
        ZorlaApplication::instance()->setDialogs(std::move(owned));
        std::filesystem::create_directory(saida());
    }
    void TearDown() override {
        w.reset();
        dm.reset();
    }
    virtual std::string dados() { return test::kDadosExemplo; }
    std::string ini() const { return dir.file("dbxconnections.ini"); }
    std::string saida() const { return dir.file("saida"); }

    void abre(Date hoje = 2008y / 3 / 15) {
        w = std::make_unique<TFrmPrincipal>(*dialogs);
        dm = std::make_unique<TFDMExporta>(ini());
        w->setDataModule(dm.get());
        w->hoje = [hoje] { return hoje; };
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    }
    void consulta(const QString& codigo = "12") {
        w->EdtCodEmpresa->setText(codigo);
        QTest::mouseClick(w->BtnConsultar, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !w->consultando(); }, 20000));
    }
    void exporta(const std::string& pasta) {
        QTest::mouseClick(w->BtnVantero, Qt::LeftButton);
        ASSERT_TRUE(w->PnlCaminhoArquivo->isVisible());
        w->EdtDiretorio->setText(QString::fromStdString(pasta));
        QTest::mouseClick(w->BtnContinuar, Qt::LeftButton);
    }
    bool esperaFim() {
        return QTest::qWaitFor([&] { return !w->runEmAndamento(); }, 20000);
    }
    QString periodo() {
        return QStringLiteral("%1 %2-%3 %4")
            .arg(w->CbxMes->currentText())
            .arg(w->EdtDiaInicial->value())
            .arg(w->EdtDiaFinal->value())
            .arg(w->EdtAno->value());
    }

    test::TempDir dir;
    std::string db;
    test::RecordingDialogs* dialogs = nullptr;
    std::unique_ptr<TFDMExporta> dm;
    std::unique_ptr<TFrmPrincipal> w;
};

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
    test::writeFile(dir.file("sem-versao"), std::string(3 << 20, 'x'));
    EXPECT_EQ(GetBuildInfo(QString::fromStdString(dir.file("sem-versao")), "BUILD"), "0.0.0.0");
    EXPECT_EQ(GetBuildInfo(QString::fromStdString(dir.file("nao-existe")), "BUILD"), "0.0.0.0");
    // A marker straddling two read blocks, and parts of two digits and more.
    auto m = marcadorVersao(3, 12, 0, 104);
    test::writeFile(dir.file("com-versao"), std::string((1 << 20) - 7, 'y') + std::string(m.begin(), m.end()));
    EXPECT_EQ(GetBuildInfo(QString::fromStdString(dir.file("com-versao")), "Build"), "3.12.0.104");
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
        EXPECT_EQ(w->RxDBLkCbEMPRESA->currentText(), QStringLiteral("Comércio"));
        EXPECT_TRUE(w->EdtCodEmpresa->text().isEmpty());
    }
    EXPECT_EQ(w->DataInicial, Date{2007y / 2 / 1});
    EXPECT_EQ(w->DataFinal, Date{2007y / 2 / 28});
}

TEST_F(Janela, CompanyListFailureShowsTheErrorAndKeepsInitialValues) {
    std::filesystem::remove(ini());
    abre();
    EXPECT_EQ(periodo(), QStringLiteral("Janeiro 1-31 2007"));
    ASSERT_EQ(dialogs->boxes.size(), 1u);
    EXPECT_EQ(dialogs->boxes[0].texto,
              QString::fromStdString("Driver/Connection Registry File '" + ini() + "' not found."));
    EXPECT_EQ(dialogs->boxes[0].titulo, "Zorla Exporta");
    EXPECT_EQ(w->RxDBLkCbEMPRESA->count(), 0);
}

TEST_F(Janela, MonthRule) {
    abre();
    w->EdtDiaInicial->setValue(31);
    w->CbxMes->setCurrentIndex(3);
    emit w->CbxMes->activated(3);
    EXPECT_EQ(periodo(), QStringLiteral("Abril 31-30 2008"));
    EXPECT_EQ(w->EdtDiaFinal->maximum(), 30);
    w->CbxMes->setCurrentIndex(1);
    emit w->CbxMes->activated(1);
    EXPECT_EQ(w->EdtDiaFinal->value(), 29);
    w->EdtAno->setValue(2007);
    EXPECT_EQ(w->EdtDiaFinal->value(), 29);
    emit w->CbxMes->activated(1);
    EXPECT_EQ(w->EdtDiaFinal->value(), 28);
    w->EdtDiaFinal->setValue(10);
    emit w->CbxMes->activated(1);
    EXPECT_EQ(w->EdtDiaFinal->value(), 28);
}

TEST_F(Janela, ConsultFillsGridNameAndLabel) {
    abre();
    consulta();
    EXPECT_TRUE(dialogs->boxes.empty()) << dialogs->texts().join("|").toStdString();
    EXPECT_EQ(w->NomeArquivo, "01A31MAR");
    EXPECT_EQ(w->LblArquivo->text(), QStringLiteral("ARQUIVO: 01A31MAR.SAI"));
    EXPECT_EQ(w->PgrMovimento->maximum(), 2);
    EXPECT_FALSE(w->PnlStatus->isVisible());
    EXPECT_EQ(w->DbGrdConsulta, QApplication::focusWidget());
    const QAbstractItemModel* m = w->DbGrdConsulta->model();
    ASSERT_EQ(m->rowCount(), 2);
    const QStringList titulos = {"Código", "Data", "N° Documento", "Série", "Valor", "Nome", "Cód.Cliente", "CFOP",
                                 "Base ICMS", "Alíquota", "Valor ICMS", "Valor ICMS Subst."};
    for (int c = 0; c < titulos.size(); ++c) EXPECT_EQ(m->headerData(c, Qt::Horizontal).toString(), titulos[c]);
    const int larguras[] = {75, 88, 35, 71, 396, 64, 64, 82, 64, 78, 120};
    for (int c = 1; c < 12; ++c) EXPECT_EQ(w->DbGrdConsulta->columnWidth(c), larguras[c - 1]) << c;
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

TEST_F(Janela, ConsultChecksAndRefusals) {
    abre();
    w->EdtDiaInicial->setValue(5);
    w->EdtDiaFinal->setValue(20);
    w->CbxMes->setCurrentIndex(10);
    consulta("");
    ASSERT_EQ(dialogs->texts(), QStringList{"Informe o código da empresa."});
    EXPECT_EQ(dialogs->boxes[0].titulo, "ZORLA");
    EXPECT_EQ(dialogs->boxes[0].icone, MessageIcon::Information);
    EXPECT_EQ(w->LblArquivo->text(), QStringLiteral("ARQUIVO: 05A20NOV.SAI"));
    EXPECT_EQ(w->DataFinal, Date{2008y / 11 / 20});
    EXPECT_EQ(QApplication::focusWidget(), w->EdtCodEmpresa);

    w->RxDBLkCbEMPRESA->setCurrentIndex(-1);
    consulta("12");
    EXPECT_EQ(dialogs->texts().last(), "Informe a empresa.");
    w->RxDBLkCbEMPRESA->setCurrentIndex(0);

    w->CbxMes->setCurrentIndex(3);
    w->EdtDiaFinal->setValue(31);
    consulta("12");
    EXPECT_EQ(dialogs->boxes.back().texto, "'31/4/2008' is not a valid date.");
    EXPECT_EQ(dialogs->boxes.back().titulo, "Zorla Exporta");
    EXPECT_EQ(dialogs->boxes.back().icone, MessageIcon::Error);

    w->Exportando = true;
    w->PnlStatus->show();
    const auto antes = dialogs->boxes.size();
    consulta("12");
    EXPECT_EQ(w->StStatus->currentMessage(), "  Não é permitido executar a consulta durante a exportação...");
    EXPECT_FALSE(w->PnlStatus->isVisible());
    EXPECT_EQ(dialogs->boxes.size(), antes);
    w->Cancelado = true;
    w->CbxMes->setCurrentIndex(2);
    consulta("  ");
    EXPECT_FALSE(w->Exportando);
    EXPECT_FALSE(w->Cancelado);
    EXPECT_EQ(w->DbGrdConsulta->model()->rowCount(), 2);
}

TEST_F(Janela, EmptyPeriodLeavesTheGaugeStillAtZero) {
    abre();
    w->CbxMes->setCurrentIndex(6);
    consulta();
    EXPECT_EQ(w->DbGrdConsulta->model()->rowCount(), 0);
    // Minimum and maximum both 0 would be an endless busy animation.
    EXPECT_LT(w->PgrMovimento->minimum(), w->PgrMovimento->maximum());
    EXPECT_EQ(w->PgrMovimento->value(), 0);
}

TEST_F(Janela, ParameterLabelsNeverTouchWhateverFontIsFound) {
    for (const char* fonte : {"DejaVu Sans", "DejaVu Sans Mono", "DejaVu Serif"}) {
        SCOPED_TRACE(fonte);
        QFont::insertSubstitution(QStringLiteral("Verdana"), QString::fromLatin1(fonte));
        TearDown();
        abre();
        QFont::removeSubstitutions(QStringLiteral("Verdana"));
        const QList<QLabel*> rotulos = w->GpBxParametros->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
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
    const std::pair<QWidget*, QWidget*> cases[] = {{w->EdtCodEmpresa, w->CbxMes}, {w->EdtAno, w->BtnConsultar}};
    for (auto [from, to] : cases) {
        from->setFocus();
        QTest::keyClick(from, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), to);
    }
    consulta();
    QTest::mouseClick(w->BtnVantero, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), w->EdtDiretorio);
    QTest::keyClick(w->EdtDiretorio, Qt::Key_Enter);
    EXPECT_EQ(QApplication::focusWidget(), w->BtnContinuar);
}

TEST_F(Janela, ExportFromTheButtonsWritesWhatTheHeadlessExporterWrites) {
    abre();
    QTest::mouseClick(w->BtnVantero, Qt::LeftButton);
    EXPECT_EQ(dialogs->texts(), QStringList{"Faça a consulta do período antes de exportar."});
    EXPECT_FALSE(w->PnlCaminhoArquivo->isVisible());
    consulta();
    exporta(saida() + "  ");
    EXPECT_EQ(w->Diretorio, saida() + "/");
    ASSERT_TRUE(esperaFim());
    EXPECT_EQ(dialogs->texts().last(),
              QString::fromStdString("Os arquivos foram gerados com sucesso.\rVocê pode encontra-los na pasta: " +
                                     saida() + "  "));
    EXPECT_EQ(ZorlaApplication::instance()->titulo(), "Zorla Exporta");
    EXPECT_EQ(w->windowTitle(), QStringLiteral("ZORLA - Exportação para Lumetra [ Versão 3.0.0.4 ]"));
    EXPECT_EQ(w->LblMovimento->text(), "Status do processamento");
    EXPECT_EQ(w->LblArquivo->text(), "");
    EXPECT_EQ(w->PgrMovimento->value(), 0);
    EXPECT_FALSE(w->Exportando);
    // The grid keeps the consulted sales; a second export without a new consult would write the purchases as
    // sales, so it waits for one.
    EXPECT_EQ(w->DbGrdConsulta->model()->rowCount(), 2);
    EXPECT_EQ(w->DbGrdConsulta->model()->index(0, 0).data().toString(), "S1");
    QTest::mouseClick(w->BtnVantero, Qt::LeftButton);
    EXPECT_EQ(dialogs->texts().last(), "Faça a consulta do período antes de exportar.");
    EXPECT_FALSE(w->PnlCaminhoArquivo->isVisible());

    const std::string cli = dir.file("cli");
    std::filesystem::create_directory(cli);
    dm.reset();  // the embedded engine lets one process at a time open the file
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

TEST_F(Janela, FolderPanelAndCancelWithoutARun) {
    abre();
    QTest::mouseClick(w->BtnCancelar, Qt::LeftButton);  // nothing chosen yet: nothing to remove, no error
    EXPECT_TRUE(w->Cancelado);
    consulta();
    {
        auto outra = TravaPasta::tenta(saida());  // another run writes there
        ASSERT_TRUE(outra);
        exporta(saida());
        EXPECT_EQ(dialogs->texts().last().toStdString(), mensagemPastaOcupada(saida()));
        EXPECT_FALSE(w->runEmAndamento());
    }
    exporta(saida() + "/");
    EXPECT_EQ(w->Diretorio, saida() + "/");
    ASSERT_TRUE(esperaFim());
    consulta();
    QTest::mouseClick(w->BtnVantero, Qt::LeftButton);
    EXPECT_EQ(w->EdtDiretorio->text().toStdString(), programFolder());
    QTest::mouseClick(w->BtnCancelarDiretorio, Qt::LeftButton);
    EXPECT_FALSE(w->PnlCaminhoArquivo->isVisible());
    EXPECT_EQ(w->Diretorio, saida() + "/");
    EXPECT_FALSE(w->Exportando);

    QTest::mouseClick(w->BtnCancelar, Qt::LeftButton);
    EXPECT_FALSE(std::filesystem::exists(saida() + "/01A31MAR.SAI"));
    EXPECT_FALSE(std::filesystem::exists(saida() + "/01A31MAR.ENT"));
    EXPECT_TRUE(std::filesystem::exists(saida() + "/ctr01A31MAR.txt"));
    EXPECT_TRUE(w->Cancelado);
    EXPECT_FALSE(w->Exportando);
}

TEST_F(Janela, EachStageIsShownToItsEndBeforeTheNextBegins) {
    abre();
    WindowHost host(*w);
    std::vector<int> vistos;
    QObject::connect(w->PgrMovimento, &QProgressBar::valueChanged, [&](int v) { vistos.push_back(v); });
    w->PgrMovimento->setMaximum(1000);
    host.inicia();
    // Without waiting, the last position of the first stage would be merged with the smaller maximum of the
    // next one and never shown.
    std::thread worker([&] {
        for (int i = 1; i <= 1000; ++i) host.gaugePosicao(i);
        host.gaugeMaximo(5);
        host.gaugePosicao(2);
        host.terminaExportacao();
    });
    const bool fim = QTest::qWaitFor([&] { return !vistos.empty() && vistos.back() == 2; }, 10000);
    host.fecha();
    worker.join();
    ASSERT_TRUE(fim);
    EXPECT_NE(std::find(vistos.begin(), vistos.end(), 1000), vistos.end());
    EXPECT_LT(vistos.size(), 1000u);  // merged, not one repaint per record
    EXPECT_EQ(w->PgrMovimento->maximum(), 5);
}

TEST_F(Janela, CancelDuringTheSalesLoop) {
    abre();
    test::ScriptedFiles gate;
    gate.holdAt = 2;
    w->arquivos = &gate;
    consulta();
    exporta(saida());
    ASSERT_TRUE(QTest::qWaitFor([&] { return gate.held(); }, 10000));
    QTest::mouseClick(w->BtnVantero, Qt::LeftButton);
    EXPECT_EQ(dialogs->texts().last(), "Aguarde o fim da exportação em andamento.");
    w->Exportando = false;
    w->Cancelado = false;  // even with the flags cleared, a working run keeps consults away
    consulta();
    EXPECT_EQ(w->StStatus->currentMessage(), "  Não é permitido executar a consulta durante a exportação...");
    QTest::mouseClick(w->BtnCancelar, Qt::LeftButton);
    EXPECT_TRUE(w->Cancelado);
    EXPECT_EQ(w->LblMovimento->text(), "Status do processamento");
    EXPECT_EQ(QApplication::focusWidget(), w->EdtCodEmpresa);
    // Nothing is removed while the run still writes it.
    EXPECT_TRUE(std::filesystem::exists(saida() + "/01A31MAR.SAI"));
    gate.open();
    ASSERT_TRUE(esperaFim());
    EXPECT_EQ(dialogs->texts().last(), "Exportação cancelada!");
    EXPECT_EQ(test::readFile(saida() + "/ctr01A31MAR.txt").size(), 154u);
    // Once the run has closed its files, neither partial fiscal book remains, and the status stayed reset.
    EXPECT_FALSE(std::filesystem::exists(saida() + "/01A31MAR.SAI"));
    EXPECT_FALSE(std::filesystem::exists(saida() + "/01A31MAR.ENT"));
    EXPECT_EQ(w->LblMovimento->text(), "Status do processamento");
    EXPECT_EQ(w->PgrMovimento->value(), 0);
    EXPECT_FALSE(w->PnlStatus->isVisible());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("ZORLA - Exportação para Lumetra [ Versão 3.0.0.4 ]"));
    EXPECT_TRUE(w->DbGrdConsulta->updatesEnabled());
    consulta();
    EXPECT_EQ(w->DbGrdConsulta->model()->rowCount(), 2);
}

class JanelaSemProcedimento : public Janela {
protected:
    std::string dados() override {
        return std::string(test::kDadosExemplo) + "DROP PROCEDURE RELATORIOAPURACAOICMS;\n";
    }
};

TEST_F(JanelaSemProcedimento, DatabaseFailureOfTheConsultShowsTheStandardErrorBox) {
    abre();
    w->EdtCodEmpresa->setText("12");
    QTest::mouseClick(w->BtnConsultar, Qt::LeftButton);
    // The query's end is taken up only by the event loop, so the consult is still under way here.
    EXPECT_TRUE(w->consultando());
    QTest::mouseClick(w->BtnVantero, Qt::LeftButton);
    EXPECT_EQ(dialogs->texts(), QStringList{"Aguarde o fim da consulta."});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->consultando(); }, 20000));
    ASSERT_EQ(dialogs->boxes.size(), 2u);
    const auto& erro = dialogs->boxes.back();
    EXPECT_NE(erro.texto.indexOf("Procedure unknown"), -1) << erro.texto.toStdString();
    EXPECT_TRUE(erro.texto.endsWith('.'));
    EXPECT_EQ(erro.titulo, "Zorla Exporta");
    EXPECT_EQ(erro.icone, MessageIcon::Error);
    EXPECT_TRUE(w->PnlStatus->isVisible());
    EXPECT_FALSE(w->PnlCaminhoArquivo->isVisible());
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
    w->EdtCodEmpresa->setText("12");
    QTest::mouseClick(w->BtnConsultar, Qt::LeftButton);
    ASSERT_TRUE(w->consultando());
    QTest::qWait(300);  // the query is running on the server by now
    ASSERT_TRUE(w->consultando()) << dialogs->texts().join("|").toStdString();
    QElapsedTimer relogio;
    relogio.start();
    w->close();
    EXPECT_FALSE(w->consultando());
    EXPECT_LT(relogio.elapsed(), 10000);
    w.reset();
    dm.reset();
}

class JanelaSemConta : public Janela {
protected:
    // A general expense without a credit account: its box holds the worker in the cash/bank phase.
    std::string dados() override {
        return std::string(test::kDadosExemplo) +
               "INSERT INTO MOVBANCARIO (CODMOVIMENTO, DATA, OPERACAO, DEVEDORA, CREDORA, NOMECREDOR, VALOR)"
               " VALUES (9, '2008-03-09', 'F', '1120003', '', 'Jos\xE9', 1);\n";
    }
};

TEST_F(JanelaSemConta, ClosingDuringARunStopsTheWorkerFirst) {
    abre();
    dialogs->holdBoxes = true;
    consulta();
    exporta(saida());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs->waiting.empty(); }, 10000))
        << dialogs->texts().join("|").toStdString();
    EXPECT_EQ(dialogs->texts().last(), "José\r\nsem código contábil definido.");
    EXPECT_TRUE(w->runEmAndamento());
    QTest::mouseClick(w->BtnFechar, Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(w->Cancelado);
    EXPECT_FALSE(w->runEmAndamento());
    w.reset();
    dm.reset();
    dialogs->waiting.clear();
}

}  // namespace
}  // namespace zorla
