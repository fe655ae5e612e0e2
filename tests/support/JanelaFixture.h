#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>

#include "export/Sessao.h"
#include "support/BancoDeTeste.h"
#include "support/RecordingDialogs.h"
#include "support/SampleData.h"
#include "ui/Principal.h"
#include "ui/ZorlaApplication.h"

// The operator window on a database of the test's own, its boxes recorded instead of shown.
namespace zorla::test {

using namespace std::chrono_literals;

class Janela : public ::testing::Test {
protected:
    void SetUp() override {
        banco.emplace(dados());
        auto owned = std::make_unique<test::RecordingDialogs>();
        dialogs = owned.get();
        ZorlaApplication::instance()->setDialogs(std::move(owned));
        std::filesystem::create_directory(saida());
    }
    void TearDown() override {
        w.reset();
        sessao.reset();
    }
    virtual std::string dados() { return test::kDadosExemplo; }
    std::string ini() const { return banco->ini(); }
    std::string saida() const { return banco->dir.file("saida"); }
    const test::TempDir& pasta() const { return banco->dir; }
    // A control of the window, found by its name.
    template <class T>
    T* c(const char* nome) const {
        T* controle = w->findChild<T*>(QString::fromLatin1(nome));
        EXPECT_NE(controle, nullptr) << nome;
        return controle;
    }

    void abre(Date hoje = 2008y / 3 / 15, bool esperaEmpresas = true) {
        sessao = std::make_unique<Sessao>(ini());
        w = std::make_unique<TFrmPrincipal>(*sessao, *dialogs);
        w->hoje = [hoje] { return hoje; };
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        if (esperaEmpresas) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return !w->carregandoEmpresas(); }, 20000));
        }
    }
    void consulta(const QString& codigo = "12") {
        c<QLineEdit>("EdtCodEmpresa")->setText(codigo);
        QTest::mouseClick(c<QPushButton>("BtnConsultar"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !w->consultando(); }, 20000));
    }
    void exporta(const std::string& pasta) {
        QTest::mouseClick(c<QPushButton>("BtnVantero"), Qt::LeftButton);
        ASSERT_TRUE(c<QFrame>("PnlCaminhoArquivo")->isVisible());
        c<QLineEdit>("EdtDiretorio")->setText(QString::fromStdString(pasta));
        QTest::mouseClick(c<QPushButton>("BtnContinuar"), Qt::LeftButton);
    }
    bool esperaFim() {
        return QTest::qWaitFor([&] { return !w->runEmAndamento(); }, 20000);
    }
    QString periodo() {
        return QStringLiteral("%1 %2-%3 %4")
            .arg(c<QComboBox>("CbxMes")->currentText())
            .arg(c<QSpinBox>("EdtDiaInicial")->value())
            .arg(c<QSpinBox>("EdtDiaFinal")->value())
            .arg(c<QSpinBox>("EdtAno")->value());
    }

    std::optional<test::BancoDeTeste> banco;
    test::RecordingDialogs* dialogs = nullptr;
    std::unique_ptr<Sessao> sessao;
    std::unique_ptr<TFrmPrincipal> w;
};

class JanelaSemConta : public Janela {
protected:
    // A general expense without a credit account: its box holds the worker in the cash/bank phase.
    std::string dados() override {
        return std::string(test::kDadosExemplo) +
               "INSERT INTO MOVBANCARIO (CODMOVIMENTO, DATA, OPERACAO, DEVEDORA, CREDORA, NOMECREDOR, VALOR)"
               " VALUES (9, '2008-03-09', 'F', '1120003', '', 'Jos\xE9', 1);\n";
    }
};

}  // namespace zorla::test
