#include "ui/Principal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableView>
#include <QtConcurrent/QtConcurrentRun>
#include <chrono>
#include <thread>
#include <filesystem>

#include "base/Cp1252.h"
#include "base/Formatacao.h"
#include "data/DMVantero.h"
#include "data/ProgramFolder.h"
#include "base/TextoVisivel.h"
#include "export/ArquivoLateral.h"
#include "export/ArquivosDaExportacao.h"
#include "export/MensagemDaFalha.h"
#include "export/OutputFiles.h"
#include "export/PastaDeSaida.h"
#include "export/Pendencias.h"
#include "export/Resumo.h"
#include "export/ThProcessa.h"
#include "export/TravaPasta.h"
#include "ui/BuildInfo.h"
#include "ui/SaidasModel.h"
#include "ui/WindowHost.h"
#include "ui/ZorlaApplication.h"

namespace zorla {

namespace {
const QString kTituloAplicacao = QStringLiteral("Zorla Exporta");
const QString kRecusaConsulta = QStringLiteral("  Não é permitido executar a consulta durante a exportação...");
const QString kAguardeEmpresas = QStringLiteral("Aguarde a lista de empresas.");

// Written piece by piece, the whole never in memory, to a temporary name renamed over the target only when
// whole. The error's text, empty when none.
QString gravaArquivo(const std::string& caminho, const std::function<void(const Escrita&)>& grava) {
    try {
        ArquivoLateral arquivo(caminho);
        grava([&](std::string_view parte) { arquivo.escreve(parte); });
        arquivo.conclui();
        return {};
    } catch (const std::exception& e) {
        return QString::fromStdString(Visivel(e.what()));
    }
}

QString estiloPainel(int r, int g, int b) {
    return QStringLiteral("background-color: rgb(%1,%2,%3); border: 1px solid gray;").arg(r).arg(g).arg(b);
}

// The operator's local date, not UTC: late evening in Brazil is already tomorrow in UTC.
Date hojeDoSistema() {
    const QDate d = QDate::currentDate();
    return Date{std::chrono::year{d.year()}, std::chrono::month{static_cast<unsigned>(d.month())},
                std::chrono::day{static_cast<unsigned>(d.day())}};
}
}  // namespace

TFrmPrincipal::TFrmPrincipal(TFDMExporta& dm, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent),
      hoje(hojeDoSistema),
      m_dm(dm),
      m_dialogs(dialogs),
      m_sessao(dm),
      m_disco(std::make_unique<DiskFiles>()),
      m_arquivos(m_disco.get()),
      m_host(std::make_unique<WindowHost>(static_cast<VisorDaExportacao&>(*this), this)) {
    montaTela();
    FormCreate();
}

TFrmPrincipal::~TFrmPrincipal() {
    m_host->fecha();
    Cancelado = true;
    m_run.reset();  // waits for the worker
    paraConsulta();
    m_gravacaoPendente = false;
    m_gravacao.waitForFinished();  // the file the operator asked for is written whole
    m_conferencia.waitForFinished();
}

void TFrmPrincipal::FormCreate() {
    const QString versao = GetBuildInfo(QCoreApplication::applicationFilePath(), QStringLiteral("BUILD"));
    m_legenda = QStringLiteral("ZORLA - Exportação para Lumetra [ Versão %1 ]").arg(versao);
    mostraTitulo(kTituloAplicacao);
}

void TFrmPrincipal::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_mostrada) return;
    m_mostrada = true;
    if (QScreen* tela = screen()) move(tela->availableGeometry().center() - frameGeometry().center() + pos());
    FormShow();
}

void TFrmPrincipal::FormShow() {
    DataAtual = hoje();
    m_empresasPendente = true;
    m_empresas.setFuture(QtConcurrent::run([this] {
        try {
            return ListaDeEmpresas{m_sessao.empresas(), QString(), false};
        } catch (const std::exception& e) {
            return ListaDeEmpresas{{}, falha(e), true};
        }
    }));
}

void TFrmPrincipal::terminaEmpresas() {
    if (!std::exchange(m_empresasPendente, false)) return;  // stopped by the window's closing
    const ListaDeEmpresas lista = m_empresas.result();
    m_semConexao = lista.semConexao;
    if (!lista.erro.isEmpty()) {
        // The standard error box; the period keeps its initial values.
        m_dialogs.mensagem(this, textoErroPadrao(lista.erro), ZorlaApplication::instance()->titulo(),
                           MessageIcon::Error, nullptr);
        return;
    }
    RxDBLkCbEMPRESA->clear();
    for (const Empresa& e : lista.empresas)
        RxDBLkCbEMPRESA->addItem(QString::fromStdString(cp1252ToUtf8(e.fantasia)), QVariant::fromValue<qlonglong>(e.codigo));
    RxDBLkCbEMPRESA->setCurrentIndex(RxDBLkCbEMPRESA->count() > 0 ? 0 : -1);
    preencheDataPadrao();
}

void TFrmPrincipal::preencheDataPadrao() {
    const std::string curta = DataCurta(DataAtual);
    const int mes = std::stoi(curta.substr(3, 2));
    CbxMes->setCurrentIndex(mes - 1);
    EdtAno->setValue(std::stoi(curta.substr(6, 4)));
    preencheMes();
    const Date ancora = ComporData(1, mes, EdtAno->value());
    EdtDiaInicial->setValue(static_cast<int>(static_cast<unsigned>(PrimeiroDiaMes(ancora, false).day())));
    EdtDiaFinal->setValue(UltimoDiaDoMes(mes, EdtAno->value()));
    DataInicial = ComporData(EdtDiaInicial->value(), mes, EdtAno->value());
    DataFinal = ComporData(EdtDiaFinal->value(), mes, EdtAno->value());
}

void TFrmPrincipal::preencheMes() {
    const int i = CbxMes->currentIndex();
    if (i >= 0 && i < 12) MesAbrev = AbreviaturaMes(i);
}

void TFrmPrincipal::CbxMesChange() {
    const int i = CbxMes->currentIndex();
    if (i < 0 || i > 11) return;
    const int ultimo = UltimoDiaDoMes(i + 1, EdtAno->value());
    EdtDiaFinal->setMaximum(ultimo);
    EdtDiaFinal->setValue(ultimo);
}

void TFrmPrincipal::geraNomeArquivo() {
    preencheMes();
    NomeArquivo = NomeArquivoPeriodo(EdtDiaInicial->text().toStdString(), EdtDiaFinal->text().toStdString(), MesAbrev);
}

// A first day after the last would consult nothing and export empty books as a success.
bool TFrmPrincipal::periodoInvertido() {
    const int ultimo = UltimoDiaDoMes(CbxMes->currentIndex() + 1, EdtAno->value());
    const int dia = EdtDiaInicial->value(), fim = std::min(EdtDiaFinal->value(), ultimo);
    if (dia <= fim) return false;
    informa(QStringLiteral("O dia inicial (%1) é posterior ao dia final (%2). Corrija o período.").arg(dia).arg(fim));
    EdtDiaInicial->setFocus();
    return true;
}

// From any thread: a connection's failure says what to do.
QString TFrmPrincipal::falha(const std::exception& e) const {
    return QString::fromStdString(MensagemDaFalha(e, m_dm.connectionFile()));
}

// After a start without a connection nothing can be consulted: the window says so rather than ask for a company.
bool TFrmPrincipal::semConexao() {
    if (!m_semConexao) return false;
    informa(QStringLiteral("Sem conexão com o banco. Corrija o arquivo de conexão %1 e abra o programa de novo.")
                .arg(QString::fromStdString(m_dm.connectionFile())));
    return true;
}

void TFrmPrincipal::informa(const QString& texto) {
    m_dialogs.mensagem(this, texto, QStringLiteral("ZORLA"), MessageIcon::Information, nullptr);
}

void TFrmPrincipal::BtnConsultarClick() {
    if (consultando() || verificando()) return;  // the one under way shows its panel
    if (carregandoEmpresas()) {
        informa(kAguardeEmpresas);
        return;
    }
    if (semConexao()) return;
    // A run still finishing after a cancel uses the datasets too.
    if ((Exportando && !Cancelado) || runEmAndamento()) {
        StStatus->showMessage(kRecusaConsulta);
        PnlStatus->hide();
        return;
    }
    if (periodoInvertido()) return;
    const int mes = CbxMes->currentIndex() + 1;
    DataInicial = ComporData(EdtDiaInicial->value(), mes, EdtAno->value());
    DataFinal = ComporData(EdtDiaFinal->value(), mes, EdtAno->value());
    geraNomeArquivo();
    LblArquivo->setText(QStringLiteral("ARQUIVO: %1.SAI").arg(QString::fromStdString(NomeArquivo)));
    if (RxDBLkCbEMPRESA->currentText().trimmed().isEmpty()) {
        informa(QStringLiteral("Informe a empresa."));
        RxDBLkCbEMPRESA->setFocus();
        return;
    }
    if (EdtCodEmpresa->text().isEmpty()) {
        informa(QStringLiteral("Informe o código da empresa."));
        EdtCodEmpresa->setFocus();
        return;
    }
    PnlStatus->show();
    PnlStatus->raise();
    PnlStatus->repaint();
    m_consultaValida = false;
    m_consultaPendente = true;
    m_modelo->atualiza(nullptr, {});
    // The query may take long: it runs on a thread of the pool and the window stays live meanwhile.
    const Periodo periodo{DataInicial, DataFinal, NomeArquivo};
    const std::int64_t empresa = RxDBLkCbEMPRESA->currentData().toLongLong();
    m_empresaConsultada = empresa;
    m_consulta.setFuture(QtConcurrent::run([this, periodo, empresa] {
        try {
            m_sessao.consulta(periodo, empresa);
            return QString();
        } catch (const std::exception& e) {
            return falha(e);
        }
    }));
}

void TFrmPrincipal::terminaConsulta() {
    if (!std::exchange(m_consultaPendente, false)) return;  // stopped by the window's closing
    if (const QString erro = m_consulta.result(); !erro.isEmpty()) {
        // The standard error box; the processing panel stays, flags and gauge as they were.
        m_dialogs.mensagem(this, textoErroPadrao(erro), ZorlaApplication::instance()->titulo(), MessageIcon::Error,
                           nullptr);
        return;
    }
    const ClientDataSet& saidas = m_dm.saidas();
    m_modelo->atualiza(saidas.rows(), saidas.fields());
    m_consultaValida = true;
    mostraGauge(saidas.isEmpty() ? 0 : saidas.recordCount(), 0);
    DbGrdConsulta->setFocus();
    Exportando = false;
    Cancelado = false;
    PnlStatus->hide();
}

// A query under way, the company list's, the consult's or the check's, is stopped on the server; nobody waits for
// its rows any more. A connection being made cannot be stopped: it ends by its own timeout.
void TFrmPrincipal::paraConsulta() {
    m_empresasPendente = m_consultaPendente = m_verificacaoPendente = false;
    // A cancel that comes while the statement is still being prepared finds nothing to stop and is lost: it is
    // asked again until the work has ended.
    while (m_empresas.isRunning() || m_consulta.isRunning() || m_verificacao.isRunning()) {
        m_sessao.cancela();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    m_empresas.waitForFinished();
    m_consulta.waitForFinished();
    m_verificacao.waitForFinished();
}

void TFrmPrincipal::BtnVerificarClick() {
    if (ocupada() || semConexao()) return;
    if (RxDBLkCbEMPRESA->currentText().trimmed().isEmpty()) {
        informa(QStringLiteral("Informe a empresa."));
        RxDBLkCbEMPRESA->setFocus();
        return;
    }
    if (periodoInvertido()) return;
    const Periodo periodo = PeriodoDoMes(EdtDiaInicial->value(), EdtDiaFinal->value(), CbxMes->currentIndex() + 1,
                                         EdtAno->value());
    const std::int64_t empresa = RxDBLkCbEMPRESA->currentData().toLongLong();
    PnlStatus->show();
    PnlStatus->raise();
    m_verificacaoPendente = true;
    m_verificacao.setFuture(QtConcurrent::run([this, periodo, empresa] {
        try {
            return Verificado{std::make_shared<const ResultadoDaVerificacao>(m_sessao.verifica(periodo, empresa)),
                              QString()};
        } catch (const std::exception& e) {
            return Verificado{{}, falha(e)};
        }
    }));
}

void TFrmPrincipal::terminaVerificacao() {
    if (!std::exchange(m_verificacaoPendente, false)) return;  // stopped by the window's closing
    PnlStatus->hide();
    const Verificado v = m_verificacao.result();
    if (!v.erro.isEmpty()) {
        m_dialogs.mensagem(this, textoErroPadrao(v.erro), ZorlaApplication::instance()->titulo(), MessageIcon::Error,
                           nullptr);
        return;
    }
    // The CSV is made only if asked for: it may hold millions of lines.
    m_dialogs.verificacao(this, v.resultado, [this, resultado = v.resultado] {
        salvaCsv(QString::fromStdString(programFolder()) + QStringLiteral("verificacao.csv"),
                 [resultado](const Escrita& escreve) { CsvDaVerificacao(*resultado, escreve); });
    });
}

void TFrmPrincipal::salvaCsv(const QString& sugestao, std::function<void(const Escrita&)> grava) {
    m_dialogs.escolheArquivo(this, sugestao, [this, grava = std::move(grava)](const QString& caminho) {
        if (m_gravacaoPendente) {
            informa(QStringLiteral("Aguarde o fim da gravação do arquivo."));
            return;
        }
        const std::string destino = QFile::encodeName(caminho).toStdString();
        if (auto recusa = arquivosDaExecucao().recusa(destino)) {
            informa(QString::fromStdString(Visivel(*recusa)));
            return;
        }
        m_gravacaoPendente = true;
        m_gravacao.setFuture(QtConcurrent::run([grava, destino] { return gravaArquivo(destino, grava); }));
    });
}

// What a CSV file may not be written over: the connection file, the database, the last run's files.
ArquivosDaExecucao TFrmPrincipal::arquivosDaExecucao() const {
    ArquivosDaExecucao arquivos;
    arquivos.conexao(m_dm.connectionFile());
    if (!Diretorio.empty() && !NomeArquivo.empty()) arquivos.saida(Diretorio, NomeArquivo);
    return arquivos;
}

void TFrmPrincipal::terminaGravacao() {
    if (!std::exchange(m_gravacaoPendente, false)) return;  // the window is closing
    const QString erro = m_gravacao.result();
    if (!erro.isEmpty()) informa(erro);
}

bool TFrmPrincipal::ocupada() {
    if (runEmAndamento())
        informa(QStringLiteral("Aguarde o fim da exportação em andamento."));
    else if (carregandoEmpresas())
        informa(kAguardeEmpresas);
    else if (consultando())
        informa(QStringLiteral("Aguarde o fim da consulta."));
    else if (verificando())
        informa(QStringLiteral("Aguarde o fim da verificação."));
    else
        return false;
    return true;
}

bool TFrmPrincipal::semConsulta() {
    // After a run the fiscal rows are the purchases: exporting them again would put them in the sales book.
    if (m_consultaValida && m_dm.saidas().active()) return false;
    informa(QStringLiteral("Faça a consulta do período antes de exportar."));
    return true;
}

void TFrmPrincipal::BtnCancelarClick() {
    Cancelado = true;
    Exportando = false;
    // What the run still reports is not shown: the status stays reset.
    m_host->ignoraStatus();
    // Nothing is removed while a run still writes; it goes once the run has closed its files.
    if (runEmAndamento())
        m_apagaLivrosAoTerminar = true;
    else
        apagaLivros();
    reiniciaStatus();
    EdtCodEmpresa->setFocus();
}

void TFrmPrincipal::apagaLivros() {
    // Before any folder or consult the names would point into the current directory: nothing of ours is there.
    if (Diretorio.empty() || NomeArquivo.empty()) return;
    for (const char* ext : {".SAI", ".ENT"}) {
        std::error_code ec;
        std::filesystem::remove(Diretorio + NomeArquivo + ext, ec);
    }
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

void TFrmPrincipal::BtnFecharClick() {
    Cancelado = true;
    close();
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
    if (r.desfecho == Desfecho::Falhou) {
        mostraAviso(QString::fromStdString(mensagemFalha(r.erro)), MessageIcon::Error, [this] {
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
    std::string texto = mensagemConcluida(m_pastaDigitada.toStdString());
    if (auto vazio = AvisoDePeriodoVazio(r)) texto += "\r\r" + *vazio;
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

void TFrmPrincipal::terminaRun() {
    Exportando = false;
    if (!m_run) return;
    m_run->wait();
    if (m_apagaLivrosAoTerminar) {
        // The cancelled run has closed its files: neither partial fiscal book remains.
        apagaLivros();
        m_apagaLivrosAoTerminar = false;
    }
    m_run.reset();  // releases the folder
}

void TFrmPrincipal::closeEvent(QCloseEvent* event) {
    // Closing from the title bar cancels too; the data module must outlive the worker.
    hide();  // at once, though a connection being made or a file being saved is still waited for
    Cancelado = true;
    m_host->fecha();
    if (m_run) m_run->wait();
    m_run.reset();
    paraConsulta();  // nobody waits for its rows any more
    m_gravacaoPendente = false;
    m_gravacao.waitForFinished();
    m_conferenciaPendente = false;
    m_conferencia.waitForFinished();  // reads files only: it ends by itself
    event->accept();
}

bool TFrmPrincipal::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && isActiveWindow()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && watched == QApplication::focusWidget())
            focusNextChild();  // like Tab; the key still reaches the control
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace zorla
