#pragma once

#include <QAbstractTableModel>
#include <memory>
#include <string>
#include <vector>

#include "comparacao/ComparacaoDeExportacoes.h"

namespace zorla {

// The differences of a comparison, one row each: a changed field, or a record removed or new. Columns: file, change,
// record, field, before, after. It filters by file and kind of change and sorts its own rows by any column.
class DiferencasModel : public QAbstractTableModel {
public:
    struct Linha {
        std::size_t arquivo = 0, mudanca = 0;
        int campo = -1;  // -1: the record as a whole
    };

    DiferencasModel(std::shared_ptr<const ResultadoDaComparacao> resultado, QObject* parent);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

    // Only the rows of that file (a name, or empty for all) and that change (or all).
    void filtra(const std::string& arquivo, std::optional<Mudanca::Tipo> tipo);
    const Linha& linha(int fila) const { return m_visiveis[static_cast<std::size_t>(fila)]; }

private:
    std::string texto(const Linha& l, int coluna) const;
    void monta();

    std::shared_ptr<const ResultadoDaComparacao> m_resultado;
    std::vector<Linha> m_todas, m_visiveis;
    std::string m_arquivo;
    std::optional<Mudanca::Tipo> m_tipo;
    int m_coluna = -1;
    Qt::SortOrder m_ordem = Qt::AscendingOrder;
};

}  // namespace zorla
