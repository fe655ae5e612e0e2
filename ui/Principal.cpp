#include "Principal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QCoreApplication>
#include <QFile>
#include <QGraphicsDropShadowEffect>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <chrono>
#include <filesystem>

#include "BuildInfo.h"
#include "Cp1252.h"
#include "DMVantero.h"
#include "Dialogs.h"
#include "Formatacao.h"
#include "OutputFiles.h"
#include "Periodo.h"
#include "ProgramFolder.h"
#include "SaidasModel.h"
#include "TextUtil.h"
#include "ThProcessa.h"
#include "TravaPasta.h"
#include "WindowHost.h"
#include "ZorlaApplication.h"

namespace zorla {

namespace {
const QString kTituloAplicacao = QStringLiteral("Zorla Exporta");
const QString kProcessando = QStringLiteral("Processando as informações encontradas, por favor, aguarde...");
const QString kRecusaConsulta = QStringLiteral("  Não é permitido executar a consulta durante a exportação...");

// The operator's local date, not UTC: late evening in Brazil is already tomorrow in UTC.
Date hojeDoSistema() {
    const QDate d = QDate::currentDate();
    return Date{std::chrono::year{d.year()}, std::chrono::month{static_cast<unsigned>(d.month())},
                std::chrono::day{static_cast<unsigned>(d.day())}};
}

QString rgb(int r, int g, int b) { return QStringLiteral("rgb(%1,%2,%3)").arg(r).arg(g).arg(b); }

QSpinBox* campoNumerico(QWidget* pai, int minimo, int maximo, int valor) {
    auto* s = new QSpinBox(pai);
    s->setRange(minimo, maximo);
    s->setValue(valor);
    s->setAlignment(Qt::AlignCenter);
    s->setButtonSymbols(QAbstractSpinBox::NoButtons);
    return s;
}

QLabel* rotulo(QWidget* pai, const QString& texto, int x, int y, int w = 120) {
    auto* l = new QLabel(texto, pai);
    l->setGeometry(x, y, w, 14);
    return l;
}
}  // namespace

TFrmPrincipal::TFrmPrincipal(Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent),
      hoje(hojeDoSistema),
      m_dialogs(dialogs),
      m_disco(std::make_unique<DiskFiles>()),
      m_host(std::make_unique<WindowHost>(*this)) {
    arquivos = m_disco.get();
    m_relogioConsulta = new QTimer(this);
    m_relogioConsulta->setInterval(25);
    connect(m_relogioConsulta, &QTimer::timeout, this, [this] { terminaConsulta(); });
    montaTela();
    FormCreate();
}

TFrmPrincipal::~TFrmPrincipal() {
    m_host->fecha();
    Cancelado = true;
    m_run.reset();  // waits for the worker
    paraConsulta();
}

void TFrmPrincipal::paraConsulta() {
    if (!m_consulta.joinable()) return;
    m_dm->SQLConnectionZORLA.cancelOperation();
    m_consulta.join();
    m_relogioConsulta->stop();
}

void TFrmPrincipal::montaTela() {
    setFont(QFont(QStringLiteral("Verdana"), 8));
    auto* menu = menuBar()->addMenu(QStringLiteral("&Arquivo"));
    MnuAtualizar = menu->addAction(QStringLiteral("A&tualizar este programa"));
    MnuSair = menu->addAction(QStringLiteral("&Sair"));
    connect(MnuSair, &QAction::triggered, this, [this] { BtnFecharClick(); });

    auto* tela = new QWidget(this);
    tela->setFixedSize(567, 419);
    setCentralWidget(tela);

    auto* titulo = new QLabel(QStringLiteral("Exportação de dados para Lumetra"), tela);
    titulo->setGeometry(0, 0, 567, 40);
    titulo->setAlignment(Qt::AlignCenter);
    titulo->setStyleSheet(QStringLiteral("background-color: rgb(24,114,167); color: white; font: bold 16pt \"Verdana\";"));
    auto* sombra = new QGraphicsDropShadowEffect(titulo);
    sombra->setColor(QColor(20, 20, 40));
    sombra->setOffset(2, 2);
    sombra->setBlurRadius(2);
    titulo->setGraphicsEffect(sombra);

    GpBxParametros = new QGroupBox(tela);
    GpBxParametros->setGeometry(4, 42, 559, 62);
    rotulo(GpBxParametros, QStringLiteral("Escolha a empresa"), 8, 12);
    RxDBLkCbEMPRESA = new QComboBox(GpBxParametros);
    RxDBLkCbEMPRESA->setGeometry(6, 28, 140, 22);
    RxDBLkCbEMPRESA->setMaxVisibleItems(8);
    rotulo(GpBxParametros, QStringLiteral("Código da Empresa"), 152, 12, 110);
    EdtCodEmpresa = new QLineEdit(GpBxParametros);
    EdtCodEmpresa->setGeometry(152, 28, 104, 22);
    rotulo(GpBxParametros, QStringLiteral("Período de Pesquisa"), 264, 12, 112);
    CbxMes = new QComboBox(GpBxParametros);
    CbxMes->setGeometry(264, 28, 104, 22);
    CbxMes->setMaxVisibleItems(12);
    for (int i = 0; i < 12; ++i) CbxMes->addItem(QString::fromUtf8(NomeMes(i)));
    rotulo(GpBxParametros, QStringLiteral("Dia"), 376, 12, 28);
    EdtDiaInicial = campoNumerico(GpBxParametros, 1, 31, 1);
    EdtDiaInicial->setGeometry(374, 28, 28, 22);
    rotulo(GpBxParametros, QStringLiteral("à"), 405, 32, 10);
    EdtDiaFinal = campoNumerico(GpBxParametros, 1, 31, 31);
    EdtDiaFinal->setGeometry(415, 28, 28, 22);
    rotulo(GpBxParametros, QStringLiteral("Ano"), 449, 12, 40);
    EdtAno = campoNumerico(GpBxParametros, 1900, 9999, 2007);
    EdtAno->setGeometry(449, 28, 42, 22);
    BtnConsultar = new QPushButton(QStringLiteral("&Consultar"), GpBxParametros);
    BtnConsultar->setGeometry(495, 27, 60, 24);
    const QString cinza = QStringLiteral("background-color: %1;").arg(rgb(238, 238, 238));
    const QString periodo = QStringLiteral("background-color: %1;").arg(rgb(239, 241, 240));
    RxDBLkCbEMPRESA->setStyleSheet(QStringLiteral("QComboBox { %1 }").arg(cinza));
    EdtCodEmpresa->setStyleSheet(cinza);
    for (QWidget* w : {static_cast<QWidget*>(CbxMes), static_cast<QWidget*>(EdtDiaInicial),
                       static_cast<QWidget*>(EdtDiaFinal), static_cast<QWidget*>(EdtAno)})
        w->setStyleSheet(QStringLiteral("%1 { %2 }").arg(QString::fromLatin1(w->metaObject()->className()), periodo));

    DbGrdConsulta = new QTableView(tela);
    DbGrdConsulta->setGeometry(4, 108, 559, 212);
    m_modelo = new SaidasModel(DbGrdConsulta);
    DbGrdConsulta->setModel(m_modelo);
    DbGrdConsulta->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DbGrdConsulta->setFocusPolicy(Qt::ClickFocus);
    DbGrdConsulta->setShowGrid(true);
    DbGrdConsulta->setStyleSheet(QStringLiteral("QTableView { background-color: white; }"));
    DbGrdConsulta->verticalHeader()->setDefaultSectionSize(18);
    DbGrdConsulta->verticalHeader()->setFixedWidth(12);
    DbGrdConsulta->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    for (int c = 0; c < m_modelo->columnCount(); ++c)
        if (int w = SaidasModel::larguraColuna(c)) DbGrdConsulta->setColumnWidth(c, w);

    LblArquivo = new QLabel(tela);
    LblArquivo->setGeometry(4, 322, 559, 15);
    LblArquivo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LblMovimento = new QLabel(QStringLiteral("Status do processamento"), tela);
    LblMovimento->setGeometry(4, 338, 559, 15);
    PgrMovimento = new QProgressBar(tela);
    PgrMovimento->setGeometry(4, 355, 559, 18);
    PgrMovimento->setRange(0, 100);
    PgrMovimento->setValue(0);
    PgrMovimento->setAlignment(Qt::AlignCenter);
    PgrMovimento->setStyleSheet(QStringLiteral(
        "QProgressBar { background: white; border: 1px solid rgb(160,150,131); font-weight: bold; }"
        "QProgressBar::chunk { background-color: rgb(24,114,167); }"));

    BtnVantero = new QPushButton(QStringLiteral("&Exportar"), tela);
    BtnVantero->setGeometry(4, 382, 90, 28);
    BtnVantero->setCursor(Qt::PointingHandCursor);
    BtnCancelar = new QPushButton(QStringLiteral("Cancelar"), tela);
    BtnCancelar->setGeometry(98, 382, 90, 28);
    BtnFechar = new QPushButton(QStringLiteral("&Fechar"), tela);
    BtnFechar->setGeometry(473, 382, 90, 28);

    StStatus = new QStatusBar(this);
    setStatusBar(StStatus);
    StStatus->setSizeGripEnabled(false);

    PnlStatus = new QLabel(kProcessando, tela);
    PnlStatus->setGeometry(60, 190, 447, 44);
    PnlStatus->setAlignment(Qt::AlignCenter);
    PnlStatus->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid gray;").arg(rgb(228, 225, 220)));
    PnlStatus->hide();

    PnlCaminhoArquivo = new QFrame(tela);
    PnlCaminhoArquivo->setGeometry(4, 150, 420, 104);
    PnlCaminhoArquivo->setFrameShape(QFrame::Box);
    PnlCaminhoArquivo->setAutoFillBackground(true);
    auto* tituloPasta =
        new QLabel(QStringLiteral(" Escolha o diretório de destino dos arquivos de exportação"), PnlCaminhoArquivo);
    tituloPasta->setGeometry(1, 1, 418, 20);
    tituloPasta->setStyleSheet(QStringLiteral("background-color: rgb(24,114,167); color: white; font-weight: bold;"));
    EdtDiretorio = new QLineEdit(PnlCaminhoArquivo);
    EdtDiretorio->setGeometry(8, 32, 376, 22);
    BtnProcuraDiretorio = new QToolButton(PnlCaminhoArquivo);
    BtnProcuraDiretorio->setText(QStringLiteral("..."));
    BtnProcuraDiretorio->setGeometry(386, 32, 26, 22);
    BtnProcuraDiretorio->setFocusPolicy(Qt::NoFocus);
    BtnContinuar = new QPushButton(QStringLiteral("Continuar  "), PnlCaminhoArquivo);
    BtnContinuar->setGeometry(222, 66, 92, 28);
    BtnContinuar->setLayoutDirection(Qt::RightToLeft);  // picture right of the caption
    BtnCancelarDiretorio = new QPushButton(QStringLiteral("Cancelar"), PnlCaminhoArquivo);
    BtnCancelarDiretorio->setGeometry(320, 66, 92, 28);
    PnlCaminhoArquivo->hide();

    setTabOrder(RxDBLkCbEMPRESA, EdtCodEmpresa);
    setTabOrder(EdtCodEmpresa, CbxMes);
    setTabOrder(CbxMes, EdtDiaInicial);
    setTabOrder(EdtDiaInicial, EdtDiaFinal);
    setTabOrder(EdtDiaFinal, EdtAno);
    setTabOrder(EdtAno, BtnConsultar);
    setTabOrder(BtnConsultar, EdtDiretorio);
    setTabOrder(EdtDiretorio, BtnContinuar);
    setTabOrder(BtnContinuar, BtnCancelarDiretorio);
    setTabOrder(BtnCancelarDiretorio, BtnVantero);
    setTabOrder(BtnVantero, BtnCancelar);
    setTabOrder(BtnCancelar, BtnFechar);

    connect(BtnConsultar, &QPushButton::clicked, this, [this] { BtnConsultarClick(); });
    connect(CbxMes, &QComboBox::activated, this, [this] { CbxMesChange(); });
    connect(BtnVantero, &QPushButton::clicked, this, [this] { BtnVanteroClick(); });
    connect(BtnCancelarDiretorio, &QPushButton::clicked, this, [this] { BtnCancelarDiretorioClick(); });
    connect(BtnContinuar, &QPushButton::clicked, this, [this] { BtnContinuarClick(); });
    connect(BtnCancelar, &QPushButton::clicked, this, [this] { BtnCancelarClick(); });
    connect(BtnFechar, &QPushButton::clicked, this, [this] { BtnFecharClick(); });
    connect(BtnProcuraDiretorio, &QToolButton::clicked, this, [this] {
        m_dialogs.escolhePasta(this, EdtDiretorio->text(), [this](const QString& pasta) { EdtDiretorio->setText(pasta); });
    });

    afastaRotulos();

    // The window sees every key before its controls.
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);

    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    adjustSize();
    setFixedSize(sizeHint());
}

// Each label of the parameters takes the width of its text in whatever font was found, and moves right when it
// would touch the one before it on its row.
void TFrmPrincipal::afastaRotulos() {
    constexpr int kFolga = 4;
    QList<QLabel*> rotulos = GpBxParametros->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    std::sort(rotulos.begin(), rotulos.end(), [](QLabel* a, QLabel* b) { return a->x() < b->x(); });
    for (int i = 0; i < rotulos.size(); ++i) {
        QLabel* r = rotulos[i];
        r->resize(r->fontMetrics().horizontalAdvance(r->text()) + 1, r->height());
        for (int j = 0; j < i; ++j) {
            const QRect antes = rotulos[j]->geometry();
            if (antes.bottom() >= r->y() && antes.top() <= r->geometry().bottom() && r->x() <= antes.right() + kFolga)
                r->move(antes.right() + kFolga + 1, r->y());
        }
    }
}

void TFrmPrincipal::FormCreate() {
    const QString versao = GetBuildInfo(QCoreApplication::applicationFilePath(), QStringLiteral("BUILD"));
    m_legenda = QStringLiteral("ZORLA - Exportação para Lumetra [ Versão %1 ]").arg(versao);
    mostraTitulo(kTituloAplicacao);
}

void TFrmPrincipal::mostraTitulo(const QString& titulo) {
    ZorlaApplication::instance()->setTitulo(titulo);
    // The record counter of a run shows in the caption too, where the task bar takes it from.
    setWindowTitle(titulo == kTituloAplicacao ? m_legenda : titulo + QStringLiteral(" - ") + m_legenda);
}

void TFrmPrincipal::defineMaximoGauge(int maximo) {
    // A bar whose minimum and maximum are both 0 is an endless busy animation; an empty stage stands at 0%.
    PgrMovimento->setMaximum(std::max(1, maximo));
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
    // A failure here reaches the standard error box; the period then keeps its initial values.
    ClientDataSet& empresas = m_dm->ClientEmpresaLocal;
    empresas.open();
    RxDBLkCbEMPRESA->clear();
    for (empresas.first(); !empresas.eof(); empresas.next())
        RxDBLkCbEMPRESA->addItem(QString::fromStdString(cp1252ToUtf8(empresas.fieldByName("FANTASIA").asString())),
                                 QVariant::fromValue<qlonglong>(empresas.fieldByName("CODEMPRESA").asInteger()));
    empresas.first();
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
    const int ultimo = static_cast<int>(static_cast<unsigned>(UltimoDiaMes(ancora, false).day()));
    EdtDiaFinal->setValue(ultimo);
    DataInicial = ComporData(EdtDiaInicial->value(), mes, EdtAno->value());
    DataFinal = ComporData(ultimo, mes, EdtAno->value());
}

void TFrmPrincipal::preencheMes() {
    const int i = CbxMes->currentIndex();
    if (i >= 0 && i < 12) MesAbrev = AbreviaturaMes(i);
}

void TFrmPrincipal::CbxMesChange() {
    const int i = CbxMes->currentIndex();
    if (i < 0 || i > 11) return;
    const int ultimo =
        static_cast<int>(static_cast<unsigned>(UltimoDiaMes(ComporData(1, i + 1, EdtAno->value()), false).day()));
    EdtDiaFinal->setMaximum(ultimo);
    EdtDiaFinal->setValue(ultimo);
}

void TFrmPrincipal::geraNomeArquivo() {
    preencheMes();
    NomeArquivo = NomeArquivoPeriodo(EdtDiaInicial->text().toStdString(), EdtDiaFinal->text().toStdString(), MesAbrev);
}

void TFrmPrincipal::informa(const QString& texto) {
    m_dialogs.mensagem(this, texto, QStringLiteral("ZORLA"), MessageIcon::Information, nullptr);
}

void TFrmPrincipal::BtnConsultarClick() {
    if (consultando()) return;  // the one under way shows its panel
    // A run still finishing after a cancel uses the datasets too.
    if ((Exportando && !Cancelado) || runEmAndamento()) {
        StStatus->showMessage(kRecusaConsulta);
        PnlStatus->hide();
        return;
    }
    DataInicial = ComporData(EdtDiaInicial->value(), CbxMes->currentIndex() + 1, EdtAno->value());
    DataFinal = ComporData(EdtDiaFinal->value(), CbxMes->currentIndex() + 1, EdtAno->value());
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

    ClientDataSet& saidas = m_dm->CDSSaidas;
    saidas.close();
    m_modelo->atualiza(saidas);
    // The query may take long: it runs on its own thread and the window stays live meanwhile.
    const Date inicial = DataInicial, final_ = DataFinal;
    const std::int64_t empresa = RxDBLkCbEMPRESA->currentData().toLongLong();
    m_consultaPronta = false;
    m_erroConsulta.reset();
    m_consulta = std::thread([this, inicial, final_, empresa] {
        std::optional<std::string> erro;
        try {
            m_dm->ConsultaSaidas("S", inicial, final_, empresa);
        } catch (const std::exception& e) {
            erro = e.what();
        }
        std::lock_guard lock(m_mutexConsulta);
        m_erroConsulta = std::move(erro);
        m_consultaPronta = true;
    });
    m_relogioConsulta->start();
}

void TFrmPrincipal::terminaConsulta() {
    {
        std::lock_guard lock(m_mutexConsulta);
        if (!m_consultaPronta) return;
    }
    m_relogioConsulta->stop();
    m_consulta.join();
    if (m_erroConsulta) {
        // The standard error box; the processing panel stays, flags and gauge as they were.
        m_dialogs.mensagem(this, textoErroPadrao(QString::fromStdString(*m_erroConsulta)),
                           ZorlaApplication::instance()->titulo(), MessageIcon::Error, nullptr);
        return;
    }
    ClientDataSet& saidas = m_dm->CDSSaidas;
    m_modelo->atualiza(saidas);
    m_consultaValida = true;
    defineMaximoGauge(saidas.isEmpty() ? 0 : saidas.recordCount());
    DbGrdConsulta->setFocus();
    Exportando = false;
    Cancelado = false;
    PnlStatus->hide();
}

bool TFrmPrincipal::ocupada() {
    if (runEmAndamento())
        informa(QStringLiteral("Aguarde o fim da exportação em andamento."));
    else if (consultando())
        informa(QStringLiteral("Aguarde o fim da consulta."));
    else
        return false;
    return true;
}

bool TFrmPrincipal::semConsulta() {
    // After a run the fiscal rows are the purchases: exporting them again would put them in the sales book.
    if (m_consultaValida && m_dm->CDSSaidas.active()) return false;
    informa(QStringLiteral("Faça a consulta do período antes de exportar."));
    return true;
}

void TFrmPrincipal::BtnVanteroClick() {
    if (ocupada() || semConsulta()) return;
    EdtDiretorio->setText(QString::fromStdString(programFolder()));
    PnlCaminhoArquivo->show();
    PnlCaminhoArquivo->raise();
    PnlCaminhoArquivo->repaint();
    EdtDiretorio->setFocus();
}

void TFrmPrincipal::BtnCancelarDiretorioClick() { PnlCaminhoArquivo->hide(); }

void TFrmPrincipal::BtnContinuarClick() {
    if (ocupada() || semConsulta()) return;
    const char sep = static_cast<char>(std::filesystem::path::preferred_separator);
    std::string pasta = QFile::encodeName(EdtDiretorio->text().trimmed()).toStdString();
    const std::string diretorio = !pasta.empty() && pasta.back() == sep ? pasta : pasta + sep;
    std::optional<TravaPasta> trava = TravaPasta::tenta(diretorio);
    if (!trava) {
        informa(QString::fromStdString(mensagemPastaOcupada(EdtDiretorio->text().trimmed().toStdString())));
        return;
    }
    Diretorio = diretorio;
    Exportando = true;
    Cancelado = false;
    PnlCaminhoArquivo->hide();

    RunParameters p;
    p.Diretorio = Diretorio;
    p.NomeArquivo = NomeArquivo;
    p.DataInicial = DataInicial;
    p.DataFinal = DataFinal;
    p.empresa = static_cast<int>(RxDBLkCbEMPRESA->currentData().toLongLong());
    p.codigoEmpresa = utf8ToCp1252(EdtCodEmpresa->text().toStdString());
    p.pastaDigitada = EdtDiretorio->text().toStdString();
    m_run = std::make_unique<ThProcessa>(*m_dm, *m_host, std::move(p), *arquivos);
    m_run->mantemTrava(std::move(*trava));
    m_consultaValida = false;
    m_apagaLivrosAoTerminar = false;
    m_host->inicia();
    m_run->start();
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

void TFrmPrincipal::BtnFecharClick() {
    Cancelado = true;
    close();
}

void TFrmPrincipal::exportacaoTerminou() {
    Exportando = false;
    terminaRun();
}

void TFrmPrincipal::terminaRun() {
    if (!m_run) return;
    m_run->wait();
    if (m_apagaLivrosAoTerminar) {
        // The cancelled run has closed its files: neither partial fiscal book remains.
        apagaLivros();
        m_apagaLivrosAoTerminar = false;
        reiniciaStatus();
        LblArquivo->clear();
        mostraTitulo(kTituloAplicacao);
    }
    m_run.reset();  // releases the folder
    // The grid keeps the consulted sales; the dataset now holds the purchases.
}

void TFrmPrincipal::closeEvent(QCloseEvent* event) {
    // Closing from the title bar cancels too; the data module must outlive the worker.
    Cancelado = true;
    m_host->fecha();
    if (m_run) m_run->wait();
    m_run.reset();
    paraConsulta();  // nobody waits for its rows any more
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
