// The operator window's screen: controls, their places, colours and tab order.
#include <QComboBox>
#include <QFrame>
#include <QGraphicsDropShadowEffect>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableView>
#include <QToolButton>
#include <algorithm>

#include "base/Periodo.h"
#include "ui/Dialogs.h"
#include "ui/Principal.h"
#include "ui/SaidasModel.h"

namespace zorla {

namespace {
QString rgb(int r, int g, int b) { return QStringLiteral("rgb(%1,%2,%3)").arg(r).arg(g).arg(b); }

template <class W>
W* nomeado(W* w, const char* nome) {
    w->setObjectName(QString::fromLatin1(nome));
    return w;
}

QSpinBox* campoNumerico(QWidget* pai, const char* nome, int minimo, int maximo, int valor) {
    auto* s = nomeado(new QSpinBox(pai), nome);
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

QLabel* faixaDeTitulo(QWidget* tela) {
    auto* titulo = new QLabel(QStringLiteral("Exportação de dados para Lumetra"), tela);
    titulo->setGeometry(0, 0, 567, 40);
    titulo->setAlignment(Qt::AlignCenter);
    titulo->setStyleSheet(
        QStringLiteral("background-color: rgb(24,114,167); color: white; font: bold 16pt \"Verdana\";"));
    auto* sombra = new QGraphicsDropShadowEffect(titulo);
    sombra->setColor(QColor(20, 20, 40));
    sombra->setOffset(2, 2);
    sombra->setBlurRadius(2);
    titulo->setGraphicsEffect(sombra);
    return titulo;
}
}  // namespace

void TFrmPrincipal::montaTela() {
    setFont(QFont(QStringLiteral("Verdana"), 8));
    auto* menu = menuBar()->addMenu(QStringLiteral("&Arquivo"));
    nomeado(menu->addAction(QStringLiteral("A&tualizar este programa")), "MnuAtualizar");
    QAction* conferir = nomeado(menu->addAction(QStringLiteral("&Conferir arquivos…")), "MnuConferir");
    connect(conferir, &QAction::triggered, this, [this] { MnuConferirClick(); });
    QAction* comparar = nomeado(menu->addAction(QStringLiteral("Co&mparar exportações…")), "MnuComparar");
    connect(comparar, &QAction::triggered, this, [this] { MnuCompararClick(); });
    QAction* sair = nomeado(menu->addAction(QStringLiteral("&Sair")), "MnuSair");
    connect(sair, &QAction::triggered, this, [this] { BtnFecharClick(); });

    auto* tela = new QWidget(this);
    tela->setFixedSize(567, 419);
    setCentralWidget(tela);
    faixaDeTitulo(tela);
    GpBxParametros = nomeado(new QGroupBox(tela), "GpBxParametros");
    montaParametros(GpBxParametros);
    montaGrade(tela);
    montaStatus(tela);
    montaPainelPasta(tela);
    ordemDeTabulacao();
    ligaControles();
    afastaRotulos();

    // The window sees every key before its controls.
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    adjustSize();
    setFixedSize(sizeHint());
}

QWidget* TFrmPrincipal::montaParametros(QWidget* grupo) {
    grupo->setGeometry(4, 42, 559, 84);
    rotulo(grupo, QStringLiteral("Escolha a empresa"), 8, 12);
    RxDBLkCbEMPRESA = nomeado(new QComboBox(grupo), "RxDBLkCbEMPRESA");
    RxDBLkCbEMPRESA->setGeometry(6, 28, 140, 22);
    RxDBLkCbEMPRESA->setMaxVisibleItems(8);
    rotulo(grupo, QStringLiteral("Código da Empresa"), 152, 12, 110);
    EdtCodEmpresa = nomeado(new QLineEdit(grupo), "EdtCodEmpresa");
    EdtCodEmpresa->setGeometry(152, 28, 104, 22);
    rotulo(grupo, QStringLiteral("Período de Pesquisa"), 264, 12, 112);
    CbxMes = nomeado(new QComboBox(grupo), "CbxMes");
    CbxMes->setGeometry(264, 28, 104, 22);
    CbxMes->setMaxVisibleItems(12);
    for (int i = 0; i < 12; ++i) CbxMes->addItem(QString::fromUtf8(NomeMes(i)));
    rotulo(grupo, QStringLiteral("Dia"), 376, 12, 28);
    EdtDiaInicial = campoNumerico(grupo, "EdtDiaInicial", 1, 31, 1);
    EdtDiaInicial->setGeometry(374, 28, 28, 22);
    rotulo(grupo, QStringLiteral("à"), 405, 32, 10);
    EdtDiaFinal = campoNumerico(grupo, "EdtDiaFinal", 1, 31, 31);
    EdtDiaFinal->setGeometry(415, 28, 28, 22);
    rotulo(grupo, QStringLiteral("Ano"), 449, 12, 40);
    EdtAno = campoNumerico(grupo, "EdtAno", 1900, 9999, 2007);
    EdtAno->setGeometry(449, 28, 42, 22);
    BtnConsultar = nomeado(new QPushButton(QStringLiteral("&Consultar"), grupo), "BtnConsultar");
    BtnConsultar->setGeometry(495, 27, 60, 24);
    BtnVerificar = nomeado(new QPushButton(QStringLiteral("&Verificar"), grupo), "BtnVerificar");
    BtnVerificar->setGeometry(495, 54, 60, 24);
    const QString cinza = QStringLiteral("background-color: %1;").arg(rgb(238, 238, 238));
    const QString periodo = QStringLiteral("background-color: %1;").arg(rgb(239, 241, 240));
    // A style sheet on a list's box reaches its open list too, whose menu-like popup then draws the chosen line
    // white on light grey: the list drops down as a plain list instead, its chosen line drawn as the grid's is.
    const QString lista = QStringLiteral(
        "QComboBox QAbstractItemView { background-color: white; color: black;"
        " selection-background-color: rgb(24,114,167); selection-color: white; }");
    RxDBLkCbEMPRESA->setStyleSheet(QStringLiteral("QComboBox { %1 combobox-popup: 0; } %2").arg(cinza, lista));
    EdtCodEmpresa->setStyleSheet(cinza);
    for (QWidget* w : {static_cast<QWidget*>(CbxMes), static_cast<QWidget*>(EdtDiaInicial),
                       static_cast<QWidget*>(EdtDiaFinal), static_cast<QWidget*>(EdtAno)})
        w->setStyleSheet(QStringLiteral("%1 { %2 combobox-popup: 0; } %3")
                             .arg(QString::fromLatin1(w->metaObject()->className()), periodo, lista));
    return grupo;
}

void TFrmPrincipal::montaGrade(QWidget* tela) {
    DbGrdConsulta = nomeado(new QTableView(tela), "DbGrdConsulta");
    DbGrdConsulta->setGeometry(4, 130, 559, 190);
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
}

void TFrmPrincipal::montaStatus(QWidget* tela) {
    LblArquivo = nomeado(new QLabel(tela), "LblArquivo");
    LblArquivo->setGeometry(4, 322, 559, 15);
    LblArquivo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LblMovimento = nomeado(new QLabel(QStringLiteral("Status do processamento"), tela), "LblMovimento");
    LblMovimento->setGeometry(4, 338, 559, 15);
    PgrMovimento = nomeado(new QProgressBar(tela), "PgrMovimento");
    PgrMovimento->setGeometry(4, 355, 559, 18);
    PgrMovimento->setRange(0, 100);
    PgrMovimento->setValue(0);
    PgrMovimento->setAlignment(Qt::AlignCenter);
    PgrMovimento->setStyleSheet(
        QStringLiteral("QProgressBar { background: white; border: 1px solid rgb(160,150,131); font-weight: bold; }"
                       "QProgressBar::chunk { background-color: rgb(24,114,167); }"));
    BtnVantero = nomeado(new QPushButton(QStringLiteral("&Exportar"), tela), "BtnVantero");
    BtnVantero->setGeometry(4, 382, 90, 28);
    BtnVantero->setCursor(Qt::PointingHandCursor);
    BtnCancelar = nomeado(new QPushButton(QStringLiteral("Cancelar"), tela), "BtnCancelar");
    BtnCancelar->setGeometry(98, 382, 90, 28);
    BtnFechar = nomeado(new QPushButton(QStringLiteral("&Fechar"), tela), "BtnFechar");
    BtnFechar->setGeometry(473, 382, 90, 28);
    StStatus = nomeado(new QStatusBar(this), "StStatus");
    setStatusBar(StStatus);
    StStatus->setSizeGripEnabled(false);
    PnlStatus = nomeado(
        new QLabel(QStringLiteral("Processando as informações encontradas, por favor, aguarde..."), tela), "PnlStatus");
    PnlStatus->setGeometry(60, 190, 447, 44);
    PnlStatus->setAlignment(Qt::AlignCenter);
    PnlStatus->hide();
    reiniciaStatusDaExportacao();
}

void TFrmPrincipal::montaPainelPasta(QWidget* tela) {
    PnlCaminhoArquivo = nomeado(new QFrame(tela), "PnlCaminhoArquivo");
    PnlCaminhoArquivo->setGeometry(4, 150, 420, 104);
    PnlCaminhoArquivo->setFrameShape(QFrame::Box);
    PnlCaminhoArquivo->setAutoFillBackground(true);
    auto* tituloPasta = nomeado(
        new QLabel(QStringLiteral(" Escolha o diretório de destino dos arquivos de exportação"), PnlCaminhoArquivo),
        "PnlTituloCaminhoArquivo");
    tituloPasta->setGeometry(1, 1, 418, 20);
    tituloPasta->setStyleSheet(QStringLiteral("background-color: rgb(24,114,167); color: white; font-weight: bold;"));
    EdtDiretorio = nomeado(new QLineEdit(PnlCaminhoArquivo), "EdtDiretorio");
    EdtDiretorio->setGeometry(8, 32, 376, 22);
    BtnProcuraDiretorio = nomeado(new QToolButton(PnlCaminhoArquivo), "BtnProcuraDiretorio");
    BtnProcuraDiretorio->setText(QStringLiteral("..."));
    BtnProcuraDiretorio->setGeometry(386, 32, 26, 22);
    BtnProcuraDiretorio->setFocusPolicy(Qt::NoFocus);
    BtnContinuar = nomeado(new QPushButton(QStringLiteral("Continuar  "), PnlCaminhoArquivo), "BtnContinuar");
    BtnContinuar->setGeometry(222, 66, 92, 28);
    BtnContinuar->setLayoutDirection(Qt::RightToLeft);  // picture right of the caption
    BtnCancelarDiretorio =
        nomeado(new QPushButton(QStringLiteral("Cancelar"), PnlCaminhoArquivo), "BtnCancelarDiretorio");
    BtnCancelarDiretorio->setGeometry(320, 66, 92, 28);
    PnlCaminhoArquivo->hide();
}

void TFrmPrincipal::ordemDeTabulacao() {
    const QWidget* const ordem[] = {
        RxDBLkCbEMPRESA, EdtCodEmpresa, CbxMes,       EdtDiaInicial,        EdtDiaFinal, EdtAno,      BtnConsultar,
        BtnVerificar,    EdtDiretorio,  BtnContinuar, BtnCancelarDiretorio, BtnVantero,  BtnCancelar, BtnFechar};
    for (std::size_t i = 1; i < std::size(ordem); ++i)
        setTabOrder(const_cast<QWidget*>(ordem[i - 1]), const_cast<QWidget*>(ordem[i]));
}

void TFrmPrincipal::ligaControles() {
    connect(BtnConsultar, &QPushButton::clicked, this, [this] { BtnConsultarClick(); });
    connect(BtnVerificar, &QPushButton::clicked, this, [this] { BtnVerificarClick(); });
    connect(CbxMes, &QComboBox::activated, this, [this] { CbxMesChange(); });
    connect(BtnVantero, &QPushButton::clicked, this, [this] { BtnVanteroClick(); });
    connect(BtnCancelarDiretorio, &QPushButton::clicked, this, [this] { BtnCancelarDiretorioClick(); });
    connect(BtnContinuar, &QPushButton::clicked, this, [this] { BtnContinuarClick(); });
    connect(BtnCancelar, &QPushButton::clicked, this, [this] { BtnCancelarClick(); });
    connect(BtnFechar, &QPushButton::clicked, this, [this] { BtnFecharClick(); });
    connect(BtnProcuraDiretorio, &QToolButton::clicked, this, [this] {
        m_dialogs.escolhePasta(this, EdtDiretorio->text(),
                               [this](const QString& pasta) { EdtDiretorio->setText(pasta); });
    });
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

}  // namespace zorla
