// "&Conferir arquivos…": the files of an export read back, off the window's thread, then shown in their window.
#include <QFile>
#include <QStatusBar>

#include "base/TextoVisivel.h"
#include "ui/Dialogs.h"
#include "ui/Principal.h"

namespace zorla {

void TFrmPrincipal::MnuConferirClick() {
    if (m_conferencia.pendente()) {
        informa(QStringLiteral("Aguarde o fim da conferência em andamento."));
        return;
    }
    const QString inicial = QString::fromStdString(Diretorio.empty() ? PastaInicial() : Diretorio);
    m_dialogs.escolheExportados(this, inicial, [this](const QStringList& escolhidos) {
        std::vector<std::string> caminhos;
        for (const QString& c : escolhidos) caminhos.push_back(QFile::encodeName(c).toStdString());
        StStatus->showMessage(escolhidos.size() == 1
                                  ? QStringLiteral("  Conferindo %1...").arg(escolhidos[0])
                                  : QStringLiteral("  Conferindo %1 arquivos...").arg(escolhidos.size()));
        m_conferencia.inicia(
            [caminhos](std::stop_token) {
                return std::make_shared<const std::vector<ArquivoConferido>>(ConfereParaMostrar(caminhos));
            },
            [](const std::exception& e) { return QString::fromStdString(Visivel(e.what())); });
    });
}

}  // namespace zorla
