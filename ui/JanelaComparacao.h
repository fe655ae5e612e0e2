#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "comparacao/ComparacaoDeExportacoes.h"

class QComboBox;
class QHBoxLayout;
class QTableView;
class QTableWidget;

namespace zorla {

class DiferencasModel;

// "Comparar exportações…": per file what is equal, changed, removed and new; every difference in a table sorted by
// any column and filtered by file and kind of change; the selected record's two versions side by side, its
// differing fields marked; the totals of both sides; "Salvar…" as CSV.
class JanelaComparacao : public QDialog {
public:
    JanelaComparacao(std::shared_ptr<const ResultadoDaComparacao> resultado, std::function<void()> aoSalvar,
                     QWidget* parent);

private:
    QHBoxLayout* montaFiltros();
    void filtra();
    void mostraRegistro(int fila);

    std::shared_ptr<const ResultadoDaComparacao> m_resultado;
    DiferencasModel* m_modelo;
    QComboBox* m_arquivo;
    QComboBox* m_mudanca;
    QTableView* m_diferencas;
    QTableWidget* m_registro;
};

}  // namespace zorla
