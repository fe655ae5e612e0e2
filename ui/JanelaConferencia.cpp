#include "ui/JanelaConferencia.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "base/Caminho.h"
#include "base/TextoVisivel.h"
#include "export/Resumo.h"
#include "ui/Dialogs.h"
#include "ui/RegistrosModel.h"

namespace zorla {

namespace {

QString textoDoProblema(const ProblemaNaLinha& p) {
    QString t = QStringLiteral("Linha %1, %2").arg(p.linha).arg(QString::fromStdString(p.campo));
    if (p.inicio > 0) t += QStringLiteral(" (%1–%2)").arg(p.inicio).arg(p.fim);
    if (!p.valor.empty()) t += QStringLiteral(", \"%1\"").arg(QString::fromStdString(p.valor));
    return t + QStringLiteral(": ") + QString::fromStdString(p.problema);
}

QString totais(const std::vector<ArquivoConferido>& arquivos) {
    ResultadoDaExportacao r;
    for (const ArquivoConferido& a : arquivos) r.arquivos.push_back(a.conferencia.totais);
    return QString::fromStdString(TextoDoResumo(r)).trimmed();
}

}  // namespace

JanelaConferencia::JanelaConferencia(std::shared_ptr<const std::vector<ArquivoConferido>> arquivos, Dialogs& dialogs,
                                     QWidget* parent)
    : QDialog(parent), m_arquivos(std::move(arquivos)), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("JanelaConferencia"));
    setWindowTitle(QStringLiteral("ZORLA - Conferência dos arquivos"));
    resize(1000, 640);
    auto* layout = new QVBoxLayout(this);
    m_arquivo = new QComboBox(this);
    m_arquivo->setObjectName(QStringLiteral("CbxArquivo"));
    for (const ArquivoConferido& a : *m_arquivos)
        m_arquivo->addItem(QStringLiteral("%1: %2 linhas, %3 problemas")
                               .arg(QString::fromStdString(Visivel(NomeDoArquivo(a.conferencia.totais.caminho))))
                               .arg(a.conferencia.totais.linhas)
                               .arg(a.conferencia.totalDeProblemas));
    layout->addWidget(m_arquivo);
    m_tabela = new QTableView(this);
    m_tabela->setObjectName(QStringLiteral("TblRegistros"));
    // Rows of one height, set before the rows come: a million of them are never measured one by one.
    m_tabela->verticalHeader()->hide();
    m_tabela->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_tabela->verticalHeader()->setDefaultSectionSize(m_tabela->fontMetrics().height() + 6);
    m_tabela->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tabela->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tabela->setWordWrap(false);
    m_tabela->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(m_tabela, 3);
    layout->addWidget(new QLabel(QStringLiteral("Problemas:"), this));
    m_problemas = new QListWidget(this);
    m_problemas->setObjectName(QStringLiteral("LstProblemas"));
    layout->addWidget(m_problemas, 1);
    auto* resumo = new QLabel(totais(*m_arquivos), this);
    resumo->setObjectName(QStringLiteral("LblTotais"));
    resumo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    resumo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(resumo);
    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* irPara = botoes->addButton(QStringLiteral("Ir para a linha…"), QDialogButtonBox::ActionRole);
    irPara->setObjectName(QStringLiteral("BtnIrParaLinha"));
    irPara->setAutoDefault(false);  // Enter in the table or the list does not ask for a line
    connect(irPara, &QPushButton::clicked, this, [this] {
        m_dialogs.pedeLinha(this, m_modelo ? m_modelo->rowCount() : 0, [this](long n) { vaiParaLinha(n); });
    });
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(botoes);
    connect(m_problemas, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { vaiParaLinha(item->data(Qt::UserRole).toLongLong()); });
    connect(m_problemas, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { vaiParaLinha(item->data(Qt::UserRole).toLongLong()); });
    connect(m_arquivo, &QComboBox::currentIndexChanged, this, [this](int i) { mostra(i); });
    mostra(0);
}

void JanelaConferencia::mostra(int arquivo) {
    if (arquivo < 0 || arquivo >= static_cast<int>(m_arquivos->size())) return;
    // The model shares the files read back: it outlives no one it depends on.
    std::shared_ptr<const ArquivoConferido> a(m_arquivos, &(*m_arquivos)[static_cast<std::size_t>(arquivo)]);
    auto* anterior = m_modelo;
    auto* selecao = m_tabela->selectionModel();  // a new model brings its own; the old one is not deleted for us
    m_modelo = new RegistrosModel(a, this);
    m_tabela->setModel(m_modelo);
    delete selecao;
    m_tabela->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_tabela->setSortingEnabled(true);
    m_tabela->resizeColumnsToContents();
    delete anterior;
    m_problemas->clear();
    for (const ProblemaNaLinha& p : a->conferencia.problemas) {
        auto* item = new QListWidgetItem(textoDoProblema(p), m_problemas);
        item->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(p.linha));
    }
    if (a->conferencia.totalDeProblemas == 0) m_problemas->addItem(QStringLiteral("Nenhum problema encontrado."));
    if (a->conferencia.totalDeProblemas > static_cast<long>(a->conferencia.problemas.size()))
        m_problemas->addItem(
            QStringLiteral("… e mais %1 problemas")
                .arg(a->conferencia.totalDeProblemas - static_cast<long>(a->conferencia.problemas.size())));
}

void JanelaConferencia::vaiParaLinha(long linha) {
    if (!m_modelo || linha < 1 || linha > m_modelo->rowCount()) return;
    const int fila = m_modelo->fila(linha);
    m_tabela->selectRow(fila);
    m_tabela->scrollTo(m_modelo->index(fila, 0), QAbstractItemView::PositionAtCenter);
}

}  // namespace zorla
