// The output folder and the start of a run: what is checked before anything is written.
#include "ui/Principal.h"

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QComboBox>

#include "base/Cp1252.h"
#include "base/TextoVisivel.h"
#include "data/ProgramFolder.h"
#include "export/ArquivosDaExportacao.h"
#include "export/PastaDeSaida.h"
#include "export/ThProcessa.h"
#include "export/TravaPasta.h"
#include "ui/WindowHost.h"

namespace zorla {

// The program's folder, as the window has always offered; when installed, an operator cannot write there, and
// the home folder is offered instead.
std::string TFrmPrincipal::PastaInicial() {
    const std::string programa = programFolder();
    if (ConferePasta(programa).estado == ConferenciaDaPasta::Estado::Pronta) return programa;
    return DiretorioDe(QFile::encodeName(QDir::homePath()).toStdString());
}

void TFrmPrincipal::BtnVanteroClick() {
    if (ocupada() || semConexao() || semConsulta()) return;
    EdtDiretorio->setText(QString::fromStdString(PastaInicial()));
    PnlCaminhoArquivo->show();
    PnlCaminhoArquivo->raise();
    PnlCaminhoArquivo->repaint();
    EdtDiretorio->setFocus();
}

void TFrmPrincipal::BtnCancelarDiretorioClick() { PnlCaminhoArquivo->hide(); }

void TFrmPrincipal::BtnContinuarClick() {
    if (ocupada() || semConsulta()) return;
    const QString pasta = EdtDiretorio->text().trimmed();
    if (pasta.isEmpty()) {
        informa(QStringLiteral("Informe a pasta de saída."));
        EdtDiretorio->setFocus();
        return;
    }
    const std::string caminho = QFile::encodeName(pasta).toStdString();
    const ConferenciaDaPasta conferencia = ConferePasta(caminho);
    if (conferencia.estado == ConferenciaDaPasta::Estado::NaoExiste) {
        m_dialogs.pergunta(this, QStringLiteral("A pasta %1 não existe. Deseja criá-la?").arg(pasta),
                           QStringLiteral("ZORLA"), [this, caminho] {
                               if (const std::string erro = CriaPasta(caminho); !erro.empty())
                                   informa(QString::fromStdString(Visivel(erro)));
                               else
                                   BtnContinuarClick();
                           });
        return;
    }
    if (conferencia.estado != ConferenciaDaPasta::Estado::Pronta) {
        informa(QString::fromStdString(Visivel(conferencia.mensagem)));
        EdtDiretorio->setFocus();
        return;
    }
    // What the command line warns of, said once before the run; the operator goes on from the box.
    if (auto aviso = AvisoDeCodigoCortado(EdtCodEmpresa->text().toStdString())) {
        mostraAviso(QString::fromStdString(*aviso), MessageIcon::Warning, [this] { iniciaExportacao(); });
        return;
    }
    iniciaExportacao();
}

void TFrmPrincipal::iniciaExportacao() {
    const std::string diretorio = DiretorioDe(QFile::encodeName(EdtDiretorio->text()).toStdString());
    if (auto recusa = RecusaDaSaida(diretorio, NomeArquivo)) {
        informa(QString::fromStdString(Visivel(*recusa)));
        return;
    }
    std::optional<TravaPasta> trava = TravaPasta::tenta(diretorio);
    if (!trava) {
        informa(QString::fromStdString(mensagemPastaOcupada(EdtDiretorio->text().trimmed().toStdString())));
        return;
    }
    Diretorio = diretorio;
    Exportando = true;
    Cancelado = false;
    PnlCaminhoArquivo->hide();
    m_pastaDigitada = EdtDiretorio->text();
    const Periodo periodo{DataInicial, DataFinal, NomeArquivo};
    m_consultaValida = false;
    m_apagaLivrosAoTerminar = false;
    m_host->inicia();
    m_run = m_sessao.inicia(ParametrosDaExportacao(Diretorio, periodo, m_empresaConsultada,
                                                   utf8ToCp1252(EdtCodEmpresa->text().toStdString())),
                            *m_host, Cancelado, *m_arquivos, std::move(*trava));
}

}  // namespace zorla
