// "&Conferir arquivos…": the files of an export read back, off the window's thread, then shown in their window.
#include <QFile>
#include <QStatusBar>
#include <QtConcurrent>

#include "base/TextoVisivel.h"
#include "ui/Principal.h"

namespace zorla {

void TFrmPrincipal::MnuConferirClick() {
    if (m_conferenciaPendente) {
        informa(QStringLiteral("Aguarde o fim da conferência em andamento."));
        return;
    }
    const QString inicial = QString::fromStdString(Diretorio.empty() ? PastaInicial() : Diretorio);
    m_dialogs.escolheExportados(this, inicial, [this](const QStringList& escolhidos) {
        std::vector<std::string> caminhos;
        for (const QString& c : escolhidos) caminhos.push_back(QFile::encodeName(c).toStdString());
        m_conferenciaPendente = true;
        StStatus->showMessage(escolhidos.size() == 1 ? QStringLiteral("  Conferindo %1...").arg(escolhidos[0])
                                                     : QStringLiteral("  Conferindo %1 arquivos...").arg(escolhidos.size()));
        m_conferencia.setFuture(QtConcurrent::run([caminhos] {
            try {
                return Conferido{std::make_shared<const std::vector<ArquivoConferido>>(ConfereParaMostrar(caminhos)),
                                 {}};
            } catch (const std::exception& e) {
                return Conferido{{}, QString::fromStdString(Visivel(e.what()))};
            }
        }));
    });
}

void TFrmPrincipal::terminaConferencia() {
    if (!std::exchange(m_conferenciaPendente, false)) return;  // the window is closing
    StStatus->clearMessage();
    const Conferido c = m_conferencia.result();
    if (!c.erro.isEmpty())
        informa(c.erro);
    else
        m_dialogs.conferencia(this, c.arquivos);
}

}  // namespace zorla
