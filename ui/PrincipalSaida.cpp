// The output folder and the start of a run: what is checked before anything is written.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLineEdit>

#include "base/Cp1252.h"
#include "base/TextoVisivel.h"
#include "data/ProgramFolder.h"
#include "sistema/PastaDosArquivos.h"
#include "ui/Principal.h"

namespace zorla {

// The program's folder, as the window has always offered; when installed, an operator cannot write there, and
// the home folder is offered instead.
std::string TFrmPrincipal::PastaInicial() {
    const std::string programa = programFolder();
    if (ExaminaPasta(programa)) return programa;
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
    if (EdtDiretorio->text().trimmed().isEmpty()) {
        informa(QStringLiteral("Informe a pasta de saída."));
        EdtDiretorio->setFocus();
        return;
    }
    preparaSaida(false, false);
}

// The gate of every run: a folder that does not exist is created, and another export's files replaced, once the
// operator says so.
void TFrmPrincipal::preparaSaida(bool criaPasta, bool substitui) {
    if (ocupada() || semConsulta()) return;
    const QString pasta = EdtDiretorio->text().trimmed();
    PedidoDeExportacao pedido(QFile::encodeName(pasta).toStdString(), Periodo{DataInicial, DataFinal, NomeArquivo},
                              m_empresaConsultada, utf8ToCp1252(EdtCodEmpresa->text().toStdString()));
    pedido.criaPasta = criaPasta;
    pedido.substitui = substitui;
    OuRecusa<SaidaPreparada> saida = m_sessao.preparaSaida(pedido);
    if (!saida && saida.recusa().pergunta == Recusa::Pergunta::CriaPasta) {
        m_dialogs.pergunta(this, QStringLiteral("A pasta %1 não existe. Deseja criá-la?").arg(pasta),
                           QStringLiteral("ZORLA"), true, [this, substitui] { preparaSaida(true, substitui); });
        return;
    }
    if (!saida && saida.recusa().pergunta == Recusa::Pergunta::Substitui) {
        const QString oQueTem = QString::fromStdString(Visivel(saida.recusa().detalhe));
        m_dialogs.pergunta(this, QStringLiteral("A pasta %1 já tem %2. Substituir?").arg(pasta, oQueTem),
                           QStringLiteral("ZORLA"), false, [this, criaPasta] { preparaSaida(criaPasta, true); });
        return;
    }
    if (!saida) {
        informa(QString::fromStdString(Visivel(saida.recusa().mensagem)));
        EdtDiretorio->setFocus();
        return;
    }
    // What the command line warns of, said once before the run; the operator goes on from the box, the folder
    // held meanwhile.
    auto preparada = std::make_shared<SaidaPreparada>(std::move(*saida));
    if (auto aviso = AvisoDeCodigoCortado(EdtCodEmpresa->text().toStdString())) {
        mostraAviso(QString::fromStdString(*aviso), MessageIcon::Warning,
                    [this, preparada] { iniciaExportacao(std::move(*preparada)); });
        return;
    }
    iniciaExportacao(std::move(*preparada));
}

void TFrmPrincipal::iniciaExportacao(SaidaPreparada saida) {
    Diretorio = saida.parametros().Diretorio;
    PnlCaminhoArquivo->hide();
    m_pastaDigitada = EdtDiretorio->text();
    m_exportacao.inicia(std::move(saida));
}

}  // namespace zorla
