#pragma once

#include <QAbstractTableModel>
#include <memory>
#include <vector>

#include "data/FieldDef.h"
#include "data/PackedRows.h"

namespace zorla {

// The consult grid's view of the fiscal rows: a snapshot of one opening, taken on the window's thread when
// no run is using the dataset, so painting never races the export worker.
class SaidasModel : public QAbstractTableModel {
public:
    explicit SaidasModel(QObject* parent = nullptr);

    // Takes the rows of one opening of the fiscal dataset, with its fields; no rows, an empty grid.
    void atualiza(std::shared_ptr<const PackedRows> rows, const std::vector<FieldDef>& campos);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static int larguraColuna(int coluna);  // 0: the grid's default

private:
    std::shared_ptr<const PackedRows> m_rows;
    std::vector<int> m_fonte;  // dataset field of each column
    std::vector<FieldDef> m_campos;
};

// "#,##0.00" with the Brazilian separators: 1.234,50.
QString formataValor(Decimal valor);

}  // namespace zorla
