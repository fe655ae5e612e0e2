// "Comparar exportações…": two exports of a period compared off the window's thread, then shown in their window.
#include <QFile>
#include <QStatusBar>

#include "comparacao/TextoDaComparacao.h"
#include "ui/Dialogs.h"
#include "ui/Principal.h"

namespace zorla {

void TFrmPrincipal::MnuCompararClick() {
    if (m_comparacao.pendente()) {
        informa(QStringLiteral("Aguarde o fim da comparação em andamento."));
        return;
    }
    const QString inicial = QString::fromStdString(Diretorio.empty() ? PastaInicial() : Diretorio);
    m_dialogs.escolheComparacao(this, inicial, [this](const QString& antes, const QString& depois) {
        StStatus->showMessage(QStringLiteral("  Comparando as exportações... (Cancelar para parar)"));
        m_comparacao.inicia(QFile::encodeName(antes).toStdString(), QFile::encodeName(depois).toStdString());
    });
}

void TFrmPrincipal::terminaComparacao(std::shared_ptr<const ResultadoDaComparacao> resultado) {
    StStatus->clearMessage();
    m_dialogs.comparacao(this, resultado, [this, resultado] {
        salvaCsv(QString::fromStdString(PastaInicial()) + QStringLiteral("comparacao.csv"),
                 [resultado](const Escrita& escreve) { escreve(CsvDaComparacao(*resultado)); });
    });
}

}  // namespace zorla
