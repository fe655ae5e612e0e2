#include "ui/Principal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
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
#include <chrono>

#include "base/Cp1252.h"
#include "base/Formatacao.h"
#include "base/TextoVisivel.h"
#include "data/BancoDaConexao.h"
#include "data/MensagemDaFalha.h"
#include "data/ProgramFolder.h"
#include "sistema/ArquivoLateral.h"
#include "ui/BuildInfo.h"
#include "ui/SaidasModel.h"
#include "ui/ZorlaApplication.h"
#include "verificacao/TextosDaVerificacao.h"

namespace zorla {

namespace {
const QString kAguardeEmpresas = QStringLiteral("Aguarde a lista de empresas.");

// The operator's local date, not UTC: late evening in Brazil is already tomorrow in UTC.
Date hojeDoSistema() {
    const QDate d = QDate::currentDate();
    return Date{std::chrono::year{d.year()}, std::chrono::month{static_cast<unsigned>(d.month())},
                std::chrono::day{static_cast<unsigned>(d.day())}};
}
}  // namespace

TFrmPrincipal::TFrmPrincipal(Sessao& sessao, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent),
      hoje(hojeDoSistema),
      m_sessao(sessao),
      m_dialogs(dialogs),
      m_exportacao(sessao, static_cast<VisorDaExportacao&>(*this), this),
      m_empresas(
          this, [this](std::vector<Empresa> e) { terminaEmpresas(std::move(e)); },
          [this](const QString& erro) {
              // The standard error box; the period keeps its initial values.
              m_semConexao = true;
              mostraErroPadrao(erro);
          }),
      m_consulta(
          this, [this](bool) { terminaConsulta(); },
          // The standard error box; the processing panel stays, flags and gauge as they were.
          [this](const QString& erro) { mostraErroPadrao(erro); }),
      m_verificacao(
          this, [this](auto resultado) { terminaVerificacao(std::move(resultado)); },
          [this](const QString& erro) {
              PnlStatus->hide();
              mostraErroPadrao(erro);
          }),
      m_conferencia(
          this,
          [this](auto arquivos) {
              StStatus->clearMessage();
              m_dialogs.conferencia(this, std::move(arquivos));
          },
          [this](const QString& erro) {
              StStatus->clearMessage();
              informa(erro);
          }),
      m_gravacao(
          this, [](bool) {}, [this](const QString& erro) { informa(erro); }),
      m_comparacao(
          this, [this](auto resultado) { terminaComparacao(std::move(resultado)); },
          [this](const QString& erro) {
              StStatus->clearMessage();
              informa(erro);
          },
          [this](int porcento) {
              StStatus->showMessage(
                  QStringLiteral("  Comparando as exportações... %1% (Cancelar para parar)").arg(porcento));
          }) {
    montaTela();
    m_empresas.aoAcabar([this] { fechaSeAcabou(); });
    m_consulta.aoAcabar([this] { fechaSeAcabou(); });
    m_verificacao.aoAcabar([this] { fechaSeAcabou(); });
    m_conferencia.aoAcabar([this] { fechaSeAcabou(); });
    m_gravacao.aoAcabar([this] { fechaSeAcabou(); });
    m_comparacao.aoAcabar([this] { fechaSeAcabou(); });
    FormCreate();
}

TFrmPrincipal::~TFrmPrincipal() {
    // The run first: its host draws on this window. Each work off the window's thread is then stopped and waited
    // for as its member goes; the file the operator asked for is written whole.
    m_exportacao.fecha();
    m_empresas.larga();
    m_consulta.larga();
    m_verificacao.larga();
    m_comparacao.cancela();
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
    m_empresas.inicia([this](std::stop_token parada) { return m_sessao.empresas(std::move(parada)); },
                      [this](const std::exception& e) { return falha(e); });
}

void TFrmPrincipal::terminaEmpresas(std::vector<Empresa> empresas) {
    m_semConexao = false;
    RxDBLkCbEMPRESA->clear();
    for (const Empresa& e : empresas)
        RxDBLkCbEMPRESA->addItem(QString::fromStdString(cp1252ToUtf8(e.fantasia)),
                                 QVariant::fromValue<qlonglong>(e.codigo));
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
    return QString::fromStdString(MensagemDaFalha(e, m_sessao.arquivoDeConexao()));
}

// After a start without a connection nothing can be consulted: the window says so rather than ask for a company.
bool TFrmPrincipal::semConexao() {
    if (!m_semConexao) return false;
    informa(QStringLiteral("Sem conexão com o banco. Corrija o arquivo de conexão %1 e abra o programa de novo.")
                .arg(QString::fromStdString(ArquivoDeConexaoAEditar(m_sessao.arquivoDeConexao()))));
    return true;
}

void TFrmPrincipal::informa(const QString& texto) {
    m_dialogs.mensagem(this, texto, QStringLiteral("ZORLA"), MessageIcon::Information, nullptr);
}

void TFrmPrincipal::mostraErroPadrao(const QString& erro) {
    m_dialogs.mensagem(this, textoErroPadrao(erro), ZorlaApplication::instance()->titulo(), MessageIcon::Error,
                       nullptr);
}

void TFrmPrincipal::BtnConsultarClick() {
    if (consultando() || verificando()) return;  // the one under way shows its panel
    if (carregandoEmpresas()) {
        informa(kAguardeEmpresas);
        return;
    }
    if (semConexao()) return;
    // A run still finishing after a cancel uses the datasets too.
    if ((m_exportacao.Exportando && !m_exportacao.Cancelado) || runEmAndamento()) {
        StStatus->showMessage(QStringLiteral("  Não é permitido executar a consulta durante a exportação..."));
        PnlStatus->hide();
        return;
    }
    if (periodoInvertido()) return;
    const int mes = CbxMes->currentIndex() + 1;
    DataInicial = ComporData(EdtDiaInicial->value(), mes, EdtAno->value());
    DataFinal = ComporData(EdtDiaFinal->value(), mes, EdtAno->value());
    geraNomeArquivo();
    LblArquivo->setText(QStringLiteral("ARQUIVO: %1")
                            .arg(QString::fromStdString(NomeDoArquivoDoTipo(TipoArquivo::LivroSaidas, NomeArquivo))));
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
    m_modelo->atualiza(nullptr, {});
    // The query may take long: it runs on a thread of the pool and the window stays live meanwhile.
    const Periodo periodo{DataInicial, DataFinal, NomeArquivo};
    const std::int64_t empresa = RxDBLkCbEMPRESA->currentData().toLongLong();
    m_empresaConsultada = empresa;
    m_consulta.inicia(
        [this, periodo, empresa](std::stop_token parada) {
            m_sessao.consulta(periodo, empresa, std::move(parada));
            return true;
        },
        [this](const std::exception& e) { return falha(e); });
}

void TFrmPrincipal::terminaConsulta() {
    const VendasConsultadas vendas = m_sessao.vendasConsultadas();
    m_modelo->atualiza(vendas.linhas, vendas.campos);
    const int linhas = vendas.linhas ? static_cast<int>(vendas.linhas->size()) : 0;
    mostraGauge(linhas, 0);
    StStatus->showMessage(linhas == 0 ? QStringLiteral("  Nenhum documento no período.")
                                      : QStringLiteral("  %1").arg(
                                            QString::fromStdString(Quantidade(linhas, "documento", "documentos"))));
    DbGrdConsulta->setFocus();
    m_exportacao.Exportando = false;
    m_exportacao.Cancelado = false;
    PnlStatus->hide();
}

void TFrmPrincipal::BtnVerificarClick() {
    if (ocupada() || semConexao()) return;
    if (RxDBLkCbEMPRESA->currentText().trimmed().isEmpty()) {
        informa(QStringLiteral("Informe a empresa."));
        RxDBLkCbEMPRESA->setFocus();
        return;
    }
    if (periodoInvertido()) return;
    const Periodo periodo =
        PeriodoDoMes(EdtDiaInicial->value(), EdtDiaFinal->value(), CbxMes->currentIndex() + 1, EdtAno->value());
    const std::int64_t empresa = RxDBLkCbEMPRESA->currentData().toLongLong();
    PnlStatus->show();
    PnlStatus->raise();
    m_verificacao.inicia(
        [this, periodo, empresa](std::stop_token parada) {
            // Shared with its window, never copied.
            return std::make_shared<const ResultadoDaVerificacao>(
                m_sessao.verifica(periodo, empresa, std::move(parada)));
        },
        [this](const std::exception& e) {
            return QString::fromStdString(MensagemDaFalhaDaConsulta(e, m_sessao.arquivoDeConexao()));
        });
}

void TFrmPrincipal::terminaVerificacao(std::shared_ptr<const ResultadoDaVerificacao> resultado) {
    PnlStatus->hide();
    // The CSV is made only if asked for: it may hold millions of lines.
    m_dialogs.verificacao(this, resultado, [this, resultado] {
        // Where the export panel offers to write: an installed program's folder is not the operator's.
        salvaCsv(QString::fromStdString(PastaInicial()) + QStringLiteral("verificacao.csv"),
                 [resultado](const Escrita& escreve) { CsvDaVerificacao(*resultado, escreve); });
    });
}

void TFrmPrincipal::salvaCsv(const QString& sugestao, std::function<void(const Escrita&)> grava) {
    m_dialogs.escolheArquivo(this, sugestao, [this, grava = std::move(grava)](const QString& caminho) {
        if (m_gravacao.pendente()) {
            informa(QStringLiteral("Aguarde o fim da gravação do arquivo."));
            return;
        }
        const std::string destino = QFile::encodeName(caminho).toStdString();
        if (OuRecusa<void> aceito = arquivosDaExecucao().aceita(destino); !aceito) {
            informa(QString::fromStdString(Visivel(aceito.recusa().mensagem)));
            return;
        }
        // Written piece by piece, the whole never in memory, to a temporary name renamed over the target only when
        // whole.
        m_gravacao.inicia(
            [grava, destino](std::stop_token) {
                ArquivoLateral arquivo(destino);
                grava([&](std::string_view parte) { arquivo.escreve(parte); });
                arquivo.conclui();
                return true;
            },
            [](const std::exception& e) { return QString::fromStdString(Visivel(e.what())); });
    });
}

// What a CSV file may not be written over: the connection file, the database, the last run's files.
ArquivosDaExecucao TFrmPrincipal::arquivosDaExecucao() const {
    ArquivosDaExecucao arquivos;
    arquivos.conexao(m_sessao.arquivoDeConexao());
    if (!Diretorio.empty() && !NomeArquivo.empty()) arquivos.saida(Diretorio, NomeArquivo);
    return arquivos;
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
    // After a run the fiscal rows may be the purchases: exporting them again would put them in the sales book.
    if (m_sessao.temConsulta()) return false;
    informa(QStringLiteral("Faça a consulta do período antes de exportar."));
    return true;
}

void TFrmPrincipal::BtnCancelarClick() {
    if (m_comparacao.pendente()) {
        m_comparacao.cancela();
        StStatus->showMessage(QStringLiteral("  Comparação cancelada."));
        return;
    }
    m_exportacao.cancela(Diretorio, NomeArquivo);
    reiniciaStatus();
    EdtCodEmpresa->setFocus();
}

void TFrmPrincipal::BtnFecharClick() { close(); }

void TFrmPrincipal::terminaRun() {
    m_exportacao.termina();
    fechaSeAcabou();
}

// Closing from the title bar cancels too. The window goes at once; the program waits, off the screen, for what
// runs off the window's thread to stop, and closes for good when the last of it has ended.
void TFrmPrincipal::closeEvent(QCloseEvent* event) {
    hide();
    m_fechando = true;
    m_exportacao.fecha();
    m_empresas.larga();
    m_consulta.larga();
    m_verificacao.larga();
    m_comparacao.cancela();
    if (algoRodando()) {
        event->ignore();
        return;
    }
    event->accept();
}

bool TFrmPrincipal::algoRodando() const {
    // A file being saved is written whole; files being read end by themselves.
    return runEmAndamento() || m_empresas.rodando() || m_consulta.rodando() || m_verificacao.rodando() ||
           m_conferencia.rodando() || m_gravacao.rodando() || m_comparacao.rodando();
}

void TFrmPrincipal::fechaSeAcabou() {
    if (m_fechando && !algoRodando()) close();
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
