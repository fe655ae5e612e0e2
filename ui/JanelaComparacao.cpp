#include "ui/JanelaComparacao.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "base/TextoVisivel.h"
#include "comparacao/TextoDaComparacao.h"
#include "conferencia/LeituraDoCampo.h"
#include "leiaute/Leiaute.h"
#include "ui/BotoesSalvarEFechar.h"
#include "ui/DiferencasModel.h"

namespace zorla {

namespace {

QString contagens(const ResultadoDaComparacao& r) {
    QStringList linhas;
    for (const ArquivoComparado& a : r.arquivos) linhas << QString::fromStdString(ContagemDaComparacao(a));
    if (r.iguais()) linhas << QStringLiteral("As duas exportações têm os mesmos registros.");
    return linhas.join('\n');
}

QTableView* tabelaDeDiferencas(DiferencasModel* modelo, QWidget* pai) {
    auto* tabela = new QTableView(pai);
    tabela->setObjectName(QStringLiteral("TblDiferencas"));
    tabela->verticalHeader()->hide();
    tabela->setModel(modelo);
    tabela->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    tabela->setSortingEnabled(true);
    tabela->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabela->setSelectionMode(QAbstractItemView::SingleSelection);
    tabela->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabela->setWordWrap(false);
    tabela->resizeColumnsToContents();
    const int maximos[] = {120, 80, 330, 160, 140};
    for (int c = 0; c < 5; ++c) tabela->setColumnWidth(c, std::min(tabela->columnWidth(c), maximos[c]));
    tabela->horizontalHeader()->setStretchLastSection(true);
    return tabela;
}

}  // namespace

JanelaComparacao::JanelaComparacao(std::shared_ptr<const ResultadoDaComparacao> resultado,
                                   std::function<void()> aoSalvar, QWidget* parent)
    : QDialog(parent), m_resultado(std::move(resultado)), m_modelo(new DiferencasModel(m_resultado, this)) {
    setObjectName(QStringLiteral("JanelaComparacao"));
    setWindowTitle(QStringLiteral("ZORLA - Comparação das exportações"));
    resize(1000, 680);
    auto* layout = new QVBoxLayout(this);
    auto* lados = new QLabel(QStringLiteral("Antes: %1\nDepois: %2")
                                 .arg(QString::fromStdString(Visivel(m_resultado->antes)),
                                      QString::fromStdString(Visivel(m_resultado->depois))),
                             this);
    layout->addWidget(lados);
    auto* contagem = new QLabel(contagens(*m_resultado), this);
    contagem->setObjectName(QStringLiteral("LblContagem"));
    layout->addWidget(contagem);

    layout->addLayout(montaFiltros());

    auto* divisao = new QSplitter(Qt::Vertical, this);
    m_diferencas = tabelaDeDiferencas(m_modelo, divisao);
    m_registro = new QTableWidget(0, 3, divisao);
    m_registro->setObjectName(QStringLiteral("TblRegistro"));
    m_registro->setHorizontalHeaderLabels({QStringLiteral("Campo"), QStringLiteral("Antes"), QStringLiteral("Depois")});
    m_registro->verticalHeader()->hide();
    m_registro->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_registro->horizontalHeader()->setStretchLastSection(true);
    m_registro->setColumnWidth(0, 220);
    m_registro->setColumnWidth(1, 340);
    auto* totais = new QPlainTextEdit(
        QStringLiteral("Totais (antes → depois):\n") + QString::fromStdString(TotaisDaComparacao(*m_resultado)),
        divisao);
    totais->setObjectName(QStringLiteral("TxtTotais"));
    totais->setReadOnly(true);
    totais->setLineWrapMode(QPlainTextEdit::NoWrap);
    divisao->setSizes({300, 220, 120});
    layout->addWidget(divisao, 1);
    connect(m_diferencas->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& atual) { mostraRegistro(atual.row()); });
    // Other rows shown: the first one's record, not the one that was chosen before.
    connect(m_modelo, &QAbstractItemModel::modelReset, this, [this] {
        m_registro->setRowCount(0);
        if (m_modelo->rowCount() > 0) m_diferencas->selectRow(0);
    });

    layout->addWidget(BotoesSalvarEFechar(this, std::move(aoSalvar)));
    if (m_modelo->rowCount() > 0) m_diferencas->selectRow(0);
}

// By file and by kind of change.
QHBoxLayout* JanelaComparacao::montaFiltros() {
    auto* filtros = new QHBoxLayout;
    m_arquivo = new QComboBox(this);
    m_arquivo->setObjectName(QStringLiteral("CbxArquivo"));
    m_arquivo->addItem(QStringLiteral("Todos os arquivos"));
    for (const ArquivoComparado& a : m_resultado->arquivos) m_arquivo->addItem(QString::fromStdString(Visivel(a.nome)));
    m_mudanca = new QComboBox(this);
    m_mudanca->setObjectName(QStringLiteral("CbxMudanca"));
    m_mudanca->addItems({QStringLiteral("Todas as mudanças"), QStringLiteral("alterado"), QStringLiteral("removido"),
                         QStringLiteral("novo")});
    filtros->addWidget(new QLabel(QStringLiteral("Arquivo:"), this));
    filtros->addWidget(m_arquivo);
    filtros->addWidget(new QLabel(QStringLiteral("Mudança:"), this));
    filtros->addWidget(m_mudanca);
    filtros->addStretch();
    connect(m_arquivo, &QComboBox::currentIndexChanged, this, [this] { filtra(); });
    connect(m_mudanca, &QComboBox::currentIndexChanged, this, [this] { filtra(); });
    return filtros;
}

void JanelaComparacao::filtra() {
    const int arquivo = m_arquivo->currentIndex(), mudanca = m_mudanca->currentIndex();
    const std::optional<Mudanca::Tipo> tipo =
        mudanca <= 0 ? std::nullopt : std::optional<Mudanca::Tipo>(static_cast<Mudanca::Tipo>(mudanca - 1));
    m_modelo->filtra(arquivo <= 0 ? std::string() : m_resultado->arquivos[static_cast<std::size_t>(arquivo - 1)].nome,
                     tipo);
}

// Every field of the record's two versions, read again from the files; those that differ in bold on yellow.
void JanelaComparacao::mostraRegistro(int fila) {
    m_registro->setRowCount(0);
    if (fila < 0 || fila >= m_modelo->rowCount()) return;
    const DiferencasModel::Linha& l = m_modelo->linha(fila);
    const ArquivoComparado& a = m_resultado->arquivos[l.arquivo];
    const Mudanca& m = a.mudancas[l.mudanca];
    std::pair<std::string, std::string> antes, depois;
    try {
        if (m.linhaAntes && a.antes) antes = LeRegistro(*a.antes, a.tipo, m.inicioAntes);
        if (m.linhaDepois && a.depois) depois = LeRegistro(*a.depois, a.tipo, m.inicioDepois);
    } catch (const std::runtime_error&) {
        return;  // a disk that fails now: the difference itself is still in the table
    }
    const Leiaute& leiaute = LeiauteDoTipo(a.tipo);
    const auto linhas = [&](const std::string& x, const std::string& y, const QString& sufixo) {
        for (std::size_t i : leiaute.camposComNome()) {
            const int r = m_registro->rowCount();
            m_registro->insertRow(r);
            const std::string_view vx = leiaute.campo(x, i), vy = leiaute.campo(y, i);
            const QString valores[] = {
                QString::fromStdString(leiaute.titulo(i, true)) + sufixo,
                x.empty() ? QString() : QString::fromStdString(CampoParaPessoa(leiaute.campos[i], vx)),
                y.empty() ? QString() : QString::fromStdString(CampoParaPessoa(leiaute.campos[i], vy))};
            const bool difere = !x.empty() && !y.empty() && vx != vy;
            for (int c = 0; c < 3; ++c) {
                auto* item = new QTableWidgetItem(valores[c]);
                if (difere) {
                    QFont negrito = item->font();
                    negrito.setBold(true);
                    item->setFont(negrito);
                    item->setBackground(QColor(255, 243, 176));
                }
                m_registro->setItem(r, c, item);
            }
        }
    };
    linhas(antes.first, depois.first, QString());
    if (!antes.second.empty() || !depois.second.empty())
        linhas(antes.second, depois.second, QStringLiteral(" (linha 2)"));
    // The first field that differs in sight, once the table has its size (it may not be shown yet).
    for (int r = 0; r < m_registro->rowCount(); ++r)
        if (m_registro->item(r, 0)->font().bold()) {
            QTimer::singleShot(0, m_registro, [tabela = m_registro, r] {
                if (r < tabela->rowCount())
                    tabela->scrollToItem(tabela->item(r, 0), QAbstractItemView::PositionAtCenter);
            });
            break;
        }
}

}  // namespace zorla
