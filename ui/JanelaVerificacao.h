#pragma once

#include <QAbstractTableModel>
#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

#include "verificacao/Verificacao.h"

namespace zorla {

// The check's problems as a table the operator sorts by any column. It sorts its own rows, on their bytes: a
// general proxy would map and compare millions of rows as Qt strings, each time the window opens. It shows them
// ten thousand at a time, more as the operator scrolls to the end: the view keeps a record of every row it is
// told of, and making millions of them at once kept the window from its turns. A sort orders them all.
class ProblemasModel : public QAbstractTableModel {
public:
    ProblemasModel(std::shared_ptr<const ResultadoDaVerificacao> resultado, QObject* parent);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;  // column -1: the export's order
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    const Problema& problema(int linha) const;

    std::shared_ptr<const ResultadoDaVerificacao> m_resultado;
    std::vector<int> m_ordem;  // the rows as shown; empty when in the export's order
    int m_mostradas;
};

// The result of "&Verificar": how many errors and warnings, every problem in a sortable table, and "Salvar…".
class JanelaVerificacao : public QDialog {
public:
    JanelaVerificacao(std::shared_ptr<const ResultadoDaVerificacao> resultado, std::function<void()> aoSalvar,
                      QWidget* parent);
};

}  // namespace zorla
