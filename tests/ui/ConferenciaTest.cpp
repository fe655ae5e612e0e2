#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <filesystem>

#include "support/JanelaFixture.h"
#include "ui/JanelaConferencia.h"

namespace zorla {
namespace {

using test::Janela;

// The files the window exported, read back from its menu: the records as a table, a damaged line in the problems,
// which lead to it, as "Ir para a linha…" does.
TEST_F(Janela, ConferirShowsTheExportedFilesAndLeadsToTheirProblems) {
    abre();
    consulta();
    exporta(saida());
    ASSERT_TRUE(esperaFim());
    // A copy of the sales book with its second line one byte short.
    const std::string copia = pasta().file("copia");
    std::filesystem::create_directory(copia);
    std::string sai = test::readFile(saida() + "/01A31MAR.SAI");
    sai.erase(547 + 2 + 10, 1);
    test::writeFile(copia + "/01A31MAR.SAI", sai);
    // And a file of another period beside it: the window reads every period of a folder it is given.
    std::filesystem::copy_file(saida() + "/fca01A31MAR.txt", copia + "/fca15A31MAR.txt");

    const auto todos = [](const std::string& pasta) {
        QStringList arquivos;
        for (const auto& a : std::filesystem::directory_iterator(pasta)) arquivos << QString::fromStdString(a.path());
        return arquivos;
    };
    // Every file of a folder as Ctrl+A chooses them; one file, named twice as a folder does not count it twice.
    const QString estragado = QString::fromStdString(copia + "/01A31MAR.SAI");
    struct Caso {
        QStringList escolhidos;
        int problemas, arquivos;
    };
    for (const auto& [escolhidos, problemas, arquivos] : {Caso{todos(saida()), 0, 5}, Caso{{estragado}, 1, 1},
                                                          Caso{{estragado, QString::fromStdString(copia)}, 1, 2}}) {
        SCOPED_TRACE(escolhidos.join(' ').toStdString());
        dialogs->exportadosEscolhidos = escolhidos;
        w->findChild<QAction*>(QStringLiteral("MnuConferir"))->trigger();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs->conferencias.empty(); }, 20000));
        JanelaConferencia janela(dialogs->conferencias.back(), *dialogs, nullptr);
        dialogs->conferencias.clear();
        auto* tabela = janela.findChild<QTableView*>(QStringLiteral("TblRegistros"));
        auto* modelo = tabela->model();
        EXPECT_EQ(modelo->rowCount(), 2);
        EXPECT_EQ(modelo->headerData(1, Qt::Horizontal).toString(), "Tipo do registro");
        EXPECT_EQ(modelo->index(0, 1).data().toString(), "S");
        auto* lista = janela.findChild<QListWidget*>(QStringLiteral("LstProblemas"));
        ASSERT_EQ(lista->count(), problemas);
        EXPECT_EQ(janela.findChild<QComboBox*>(QStringLiteral("CbxArquivo"))->count(), arquivos);
        if (problemas == 0) continue;
        EXPECT_TRUE(lista->item(0)->text().startsWith("Linha 2, linha: tem 546 caracteres"))
            << lista->item(0)->text().toStdString();
        emit lista->itemClicked(lista->item(0));
        EXPECT_EQ(tabela->currentIndex().row(), 1);
        tabela->sortByColumn(0, Qt::DescendingOrder);  // the last line first
        dialogs->linhaPedida = 1;
        QTest::mouseClick(janela.findChild<QPushButton*>(QStringLiteral("BtnIrParaLinha")), Qt::LeftButton);
        EXPECT_EQ(tabela->currentIndex().row(), 1);
        EXPECT_EQ(tabela->currentIndex().siblingAtColumn(0).data().toLongLong(), 1);
    }
}

}  // namespace
}  // namespace zorla
