#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "conferencia/ConferenciaDeArquivos.h"

class QComboBox;
class QListWidget;
class QTableView;

namespace zorla {

class Dialogs;
class RegistrosModel;

// "&Conferir arquivos…": an export's files read back. Per file its records in a table of named, sortable columns,
// the problems found in a list that leads to their line, the totals of them all, and "Ir para a linha…".
class JanelaConferencia : public QDialog {
public:
    JanelaConferencia(std::shared_ptr<const std::vector<ArquivoConferido>> arquivos, Dialogs& dialogs, QWidget* parent);
    // Selects the row of that line of the file shown, from 1.
    void vaiParaLinha(long linha);

private:
    void mostra(int arquivo);

    std::shared_ptr<const std::vector<ArquivoConferido>> m_arquivos;
    Dialogs& m_dialogs;
    QComboBox* m_arquivo;
    QTableView* m_tabela;
    QListWidget* m_problemas;
    RegistrosModel* m_modelo = nullptr;
};

}  // namespace zorla
