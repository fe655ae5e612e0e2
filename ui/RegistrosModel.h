#pragma once

#include <QAbstractTableModel>
#include <memory>
#include <string>
#include <vector>

#include "conferencia/ConferenciaDeArquivos.h"

namespace zorla {

// The records of an exported file as a table of its layout's named fields. It keeps only where each line starts: a
// line is read from the file when it is shown, so a file of a million lines opens at once.
class RegistrosModel : public QAbstractTableModel {
public:
    RegistrosModel(std::shared_ptr<const ArquivoConferido> arquivo, QObject* parent);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // By a field's text as written (column 0: the file's order), reading the file through once.
    void sort(int column, Qt::SortOrder order) override;

    // The row that shows a line of the file (from 1), and the line a row shows.
    int fila(long linha) const;
    long linha(int fila) const;

private:
    const std::string& texto(long linha) const;

    std::shared_ptr<const ArquivoConferido> m_arquivo;
    const Leiaute& m_leiaute;
    std::vector<std::size_t> m_campos;
    std::vector<int> m_ordem;  // the lines as shown, from 0; empty in the file's order
    mutable long m_lida = 0;   // the line in m_texto
    mutable std::string m_texto;
};

}  // namespace zorla
