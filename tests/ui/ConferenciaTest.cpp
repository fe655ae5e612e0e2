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
        ASSERT_EQ(lista->count(), std::max(problemas, 1));
        EXPECT_EQ(janela.findChild<QComboBox*>(QStringLiteral("CbxArquivo"))->count(), arquivos);
        if (problemas == 0) {
            EXPECT_EQ(lista->item(0)->text(), "Nenhum problema encontrado.");
            continue;
        }
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

// The records as a person reads them, under the fields' labels: dates and amounts written out, amounts on the
// right, the bytes as written in the tooltip; the line's number is the only "Linha".
TEST_F(Janela, ConferirShowsTheFieldsAsAPersonReadsThem) {
    abre();
    consulta();
    exporta(saida());
    ASSERT_TRUE(esperaFim());
    struct Caso {
        const char* arquivo;
        QString titulo, valor, dica;
        bool aDireita;
    };
    const Caso casos[] = {
        {"01A31MAR.SAI", "Data do movimento", "05/03/2008", "\"20080305\"", false},
        {"01A31MAR.SAI", "Valor", "1.234,50", "\"00000123450\"", true},
        {"01A31MAR.SAI", "Alíquota do ICMS", "18,00", "\" 1800\"", true},
        {"ctr01A31MAR.txt", "Data", "05/03/2008", "\"050308\"", false},
        {"ctr01A31MAR.txt", "Linha do movimento", "1", "\"1\"", false},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.titulo.toStdString());
        dialogs->exportadosEscolhidos = {QString::fromStdString(saida() + "/" + c.arquivo)};
        w->findChild<QAction*>(QStringLiteral("MnuConferir"))->trigger();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs->conferencias.empty(); }, 20000));
        JanelaConferencia janela(dialogs->conferencias.back(), *dialogs, nullptr);
        dialogs->conferencias.clear();
        auto* modelo = janela.findChild<QTableView*>(QStringLiteral("TblRegistros"))->model();
        int coluna = -1, linhas = 0;
        for (int i = 0; i < modelo->columnCount(); ++i) {
            const QString titulo = modelo->headerData(i, Qt::Horizontal).toString();
            linhas += titulo == "Linha";
            if (titulo == c.titulo) coluna = i;
        }
        EXPECT_EQ(linhas, 1);
        ASSERT_GE(coluna, 0);
        const QModelIndex primeira = modelo->index(0, coluna);
        EXPECT_EQ(primeira.data().toString(), c.valor);
        EXPECT_EQ(primeira.data(Qt::ToolTipRole).toString(), c.dica);
        EXPECT_EQ((primeira.data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight) != 0, c.aDireita);
    }
}

}  // namespace
}  // namespace zorla
