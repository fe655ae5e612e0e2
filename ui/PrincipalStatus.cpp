// What the window shows of a run: the status panel, the gauge, the title, and the boxes of its end.
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>

#include "base/TextoVisivel.h"
#include "export/Pendencias.h"
#include "export/Resumo.h"
#include "ui/BuildInfo.h"
#include "ui/Principal.h"
#include "ui/ZorlaApplication.h"

namespace zorla {

namespace {
const QString kTituloAplicacao = QStringLiteral("Zorla Exporta");

QString estiloPainel(int r, int g, int b) {
    return QStringLiteral("background-color: rgb(%1,%2,%3); border: 1px solid gray;").arg(r).arg(g).arg(b);
}
}  // namespace

void TFrmPrincipal::FormCreate() {
    const QString versao = GetBuildInfo(QCoreApplication::applicationFilePath(), QStringLiteral("BUILD"));
    m_legenda = QStringLiteral("ZORLA - Exportação para Lumetra [ Versão %1 ]").arg(versao);
    mostraTitulo(kTituloAplicacao);
}

void TFrmPrincipal::reiniciaStatus() {
    PnlStatus->hide();
    PgrMovimento->setValue(0);
    LblMovimento->setText(QStringLiteral("Status do processamento"));
}

// The status display as a run leaves it at its end, on every path.
void TFrmPrincipal::reiniciaStatusDaExportacao() {
    reiniciaStatus();
    PnlStatus->setStyleSheet(estiloPainel(228, 225, 220));
    LblArquivo->clear();
    mostraTitulo(kTituloAplicacao);
}

void TFrmPrincipal::mostraProcessamento() {
    PnlStatus->setStyleSheet(estiloPainel(255, 174, 94));
    if (!PnlStatus->isVisible()) {
        PnlStatus->show();
        PnlStatus->raise();
    }
}

void TFrmPrincipal::mostraMovimento(const QString& texto) { LblMovimento->setText(texto); }

void TFrmPrincipal::mostraArquivo(const QString& texto) { LblArquivo->setText(texto); }

void TFrmPrincipal::mostraGauge(int maximo, int posicao) {
    // A bar whose minimum and maximum are both 0 is an endless busy animation; an empty stage stands at 0%.
    PgrMovimento->setMaximum(std::max(1, maximo));
    PgrMovimento->setValue(posicao);
}

void TFrmPrincipal::mostraTitulo(const QString& titulo) {
    ZorlaApplication::instance()->setTitulo(titulo);
    // The record counter of a run shows in the caption too, where the task bar takes it from.
    setWindowTitle(titulo == kTituloAplicacao ? m_legenda : titulo + QStringLiteral(" - ") + m_legenda);
}

void TFrmPrincipal::mostraAviso(const QString& texto, MessageIcon icone, std::function<void()> aoFechar) {
    m_dialogs.mensagem(this, texto, QStringLiteral("ZORLA"), icone, std::move(aoFechar));
}

// A failure is shown over the run's last state; completion and cancellation over the reset one. The window accepts
// a new consult once the box is closed.
void TFrmPrincipal::exportacaoTerminou(const ResultadoDaExportacao& r) {
    if (m_fechando) {  // nobody is there to read it
        terminaRun();
        return;
    }
    if (r.desfecho == Desfecho::Falhou) {
        mostraAviso(QString::fromStdString(MensagemDeFalha(r.erro)), MessageIcon::Error, [this] {
            reiniciaStatusDaExportacao();
            terminaRun();
        });
        return;
    }
    reiniciaStatusDaExportacao();
    if (r.desfecho == Desfecho::Cancelado) {
        mostraAviso(QString::fromUtf8(kMensagemCancelada), MessageIcon::Information, [this] { terminaRun(); });
        return;
    }
    // The totals behind "Mostrar detalhes…", to compare with Lumetra's after the import; first, the movements
    // written without an account, which the warnings during the run showed one by one.
    const std::string csv = CsvDoResumo(r);
    std::string texto = MensagemConcluida(Visivel(m_pastaDigitada.toStdString()));
    if (auto vazio = AvisoDePeriodoVazio(r)) texto += "\r\r" + *vazio;
    if (!r.semConta.empty()) texto += "\r\r" + AvisoDasPendencias(r);
    const std::string pendencias = TextoDasPendencias(r);
    m_dialogs.mensagemComDetalhes(
        this, QString::fromStdString(texto), QStringLiteral("ZORLA"),
        QString::fromStdString(pendencias.empty() ? TextoDoResumo(r) : pendencias + "\n" + TextoDoResumo(r)),
        [this, csv] {
            salvaCsv(QString::fromStdString(Diretorio + "resumo" + NomeArquivo + ".csv"),
                     [csv](const Escrita& escreve) { escreve(csv); });
        },
        [this] { terminaRun(); });
}

}  // namespace zorla
