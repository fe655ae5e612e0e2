// What a bookkeeper meets in the window in the first hour: refusals that say why, warnings before the run,
// outcomes that are not plain success.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QSpinBox>
#include <filesystem>

#include "support/JanelaFixture.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace zorla {
namespace {

using test::Janela;
using test::JanelaSemConta;
using namespace std::chrono_literals;

TEST_F(Janela, AReversedPeriodIsRefusedAtTheConsultAndTheCheck) {
    abre();
    c<QSpinBox>("EdtDiaInicial")->setValue(20);
    c<QSpinBox>("EdtDiaFinal")->setValue(5);
    for (const char* botao : {"BtnConsultar", "BtnVerificar"}) {
        SCOPED_TRACE(botao);
        c<QLineEdit>("EdtCodEmpresa")->setText("12");
        QTest::mouseClick(c<QPushButton>(botao), Qt::LeftButton);
        EXPECT_FALSE(w->consultando() || w->verificando());
        EXPECT_EQ(dialogs->texts().last(), "O dia inicial (20) é posterior ao dia final (5). Corrija o período.");
        EXPECT_EQ(QApplication::focusWidget(), c<QSpinBox>("EdtDiaInicial"));
    }
}

// The same warning as the command line's, once, before the run; the run goes on from the box.
TEST_F(Janela, ACodeCutToFourCharactersIsSaidBeforeTheRun) {
    abre();
    consulta("12345");
    const std::size_t antes = dialogs->boxes.size();
    exporta(saida());
    ASSERT_TRUE(esperaFim());
    ASSERT_GE(dialogs->boxes.size(), antes + 2);
    EXPECT_EQ(dialogs->boxes[antes].texto,
              "Aviso: o código '12345' tem mais de 4 caracteres; os arquivos levam '1234'.");
    EXPECT_EQ(dialogs->boxes[antes].icone, MessageIcon::Warning);
    EXPECT_EQ(test::readFile(saida() + "/01A31MAR.SAI").substr(0, 5), "S1234");
}

TEST_F(Janela, AMissingFolderIsOfferedToBeCreated) {
    abre();
    consulta();
    const std::string nova = pasta().file("nova/março");
    dialogs->responde = false;
    exporta(nova);
    EXPECT_EQ(dialogs->texts().last(), QString::fromStdString("A pasta " + nova + " não existe. Deseja criá-la?"));
    EXPECT_FALSE(std::filesystem::exists(nova));
    EXPECT_FALSE(w->runEmAndamento());
    dialogs->responde = true;
    QTest::mouseClick(c<QPushButton>("BtnContinuar"), Qt::LeftButton);
    ASSERT_TRUE(esperaFim());
    EXPECT_EQ(test::readFile(nova + "/01A31MAR.SAI").size(), 2u * 549);
}

TEST_F(Janela, WithoutAConnectionTheWindowSaysSoInsteadOfAskingForACompany) {
    banco->escreveIni("[EMPRESA]\nDatabase=" + pasta().file("nada.fdb") + "\n");
    abre();
    ASSERT_EQ(dialogs->boxes.size(), 1u);
    EXPECT_TRUE(dialogs->boxes[0].texto.startsWith(QString::fromStdString(
        "Não foi possível conectar ao banco de dados.\nArquivo de conexão: " + ini() + "\nDatabase: ")))
        << dialogs->boxes[0].texto.toStdString();
    for (const char* botao : {"BtnConsultar", "BtnVerificar", "BtnVantero"}) {
        QTest::mouseClick(c<QPushButton>(botao), Qt::LeftButton);
        EXPECT_TRUE(dialogs->texts().last().startsWith("Sem conexão com o banco.")) << botao;
    }
}

// The final message keeps its words; its details list the movements without an account before the totals.
TEST_F(JanelaSemConta, TheDetailsListTheMovementsWithoutAnAccountFirst) {
    abre();
    consulta();
    exporta(saida());
    ASSERT_TRUE(esperaFim());
    EXPECT_TRUE(dialogs->texts().last().startsWith("Os arquivos foram gerados com sucesso."))
        << dialogs->texts().last().toStdString();
    EXPECT_TRUE(
        dialogs->ultimosDetalhes.startsWith("Pendências: 1 movimento gravado sem código contábil definido, com a conta "
                                            "em branco:\n  09/03/2008  R$ 1,00  José\n"))
        << dialogs->ultimosDetalhes.toStdString();
    EXPECT_TRUE(dialogs->ultimosDetalhes.contains("Resumo:"));
}

// Without a display the program points to the command line; its help and version need none.
TEST(ProgramaDaJanela, WithoutADisplayItPointsToTheCommandLine) {
    const std::pair<std::vector<std::string>, int> casos[] = {{{}, 1}, {{"--help"}, 0}, {{"--version"}, 0}};
    for (const auto& [extra, status] : casos) {
        std::vector<std::string> comando = {"/usr/bin/env",    "-u", "DISPLAY",         "-u",
                                            "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM", ZORLA_JANELA};
        comando.insert(comando.end(), extra.begin(), extra.end());
        const auto r = test::runProcess(comando, nullptr, std::chrono::seconds(20));
        EXPECT_EQ(r.status, status) << r.err;
        EXPECT_NE((r.out + r.err).find(extra.empty() ? "zorla-exporta-cli" : "zorla-exporta"), std::string::npos)
            << r.out << r.err;
    }
}

}  // namespace
}  // namespace zorla
