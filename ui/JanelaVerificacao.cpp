#include "ui/JanelaVerificacao.h"

#include <QBrush>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>
#include <string_view>

#include "ui/BotoesSalvarEFechar.h"

namespace zorla {

namespace {
constexpr int kLinhasPorVez = 10000;
}

ProblemasModel::ProblemasModel(std::shared_ptr<const ResultadoDaVerificacao> resultado, QObject* parent)
    : QAbstractTableModel(parent),
      m_resultado(std::move(resultado)),
      m_mostradas(static_cast<int>(std::min<std::size_t>(m_resultado->problemas.size(), kLinhasPorVez))) {}

int ProblemasModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_mostradas; }

bool ProblemasModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && static_cast<std::size_t>(m_mostradas) < m_resultado->problemas.size();
}

void ProblemasModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) return;
    const int mais = static_cast<int>(
        std::min<std::size_t>(m_resultado->problemas.size() - static_cast<std::size_t>(m_mostradas), kLinhasPorVez));
    beginInsertRows({}, m_mostradas, m_mostradas + mais - 1);
    m_mostradas += mais;
    endInsertRows();
}

int ProblemasModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 5; }

const Problema& ProblemasModel::problema(int linha) const {
    const auto i = static_cast<std::size_t>(linha);
    return m_resultado->problemas[m_ordem.empty() ? i : static_cast<std::size_t>(m_ordem[i])];
}

void ProblemasModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 && m_ordem.empty()) return;  // already so: no reset of millions of rows
    std::vector<int> ordem;
    if (column >= 0 && column < 5) {
        const auto& problemas = m_resultado->problemas;
        const auto chave = [&](int i) {
            return ColunasDoProblema(problemas[static_cast<std::size_t>(i)])[static_cast<std::size_t>(column)];
        };
        ordem.resize(problemas.size());
        std::iota(ordem.begin(), ordem.end(), 0);
        std::stable_sort(ordem.begin(), ordem.end(), [&](int a, int b) {
            return order == Qt::AscendingOrder ? chave(a) < chave(b) : chave(b) < chave(a);
        });
    }
    beginResetModel();
    m_ordem = std::move(ordem);
    endResetModel();
}

QVariant ProblemasModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const Problema& p = problema(index.row());
    if (role == Qt::ForegroundRole && p.gravidade == Gravidade::Erro) return QBrush(QColor(170, 0, 0));
    // A cut cell shows the whole of it when pointed at.
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const std::string_view texto = ColunasDoProblema(p)[static_cast<std::size_t>(index.column())];
    return QString::fromUtf8(texto.data(), static_cast<qsizetype>(texto.size()));
}

QVariant ProblemasModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= 5) return {};
    return QString::fromUtf8(kColunasDoProblema[static_cast<std::size_t>(section)].data());
}

JanelaVerificacao::JanelaVerificacao(std::shared_ptr<const ResultadoDaVerificacao> resultado,
                                     std::function<void()> aoSalvar, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("JanelaVerificacao"));
    setWindowTitle(QStringLiteral("ZORLA - Verificação do período"));
    resize(1000, 520);
    auto* layout = new QVBoxLayout(this);
    auto* contagem = new QLabel(QString::fromStdString(ContagemDosProblemas(*resultado)), this);
    contagem->setObjectName(QStringLiteral("LblContagem"));
    layout->addWidget(contagem);
    auto* tabela = new QTableView(this);
    tabela->setObjectName(QStringLiteral("TblProblemas"));
    // Rows of one height, set before the rows come: millions of them are then never measured one by one.
    tabela->verticalHeader()->hide();
    tabela->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tabela->verticalHeader()->setDefaultSectionSize(tabela->fontMetrics().height() + 6);
    tabela->setModel(new ProblemasModel(std::move(resultado), this));
    // The order of the export until the operator sorts: the header's own default would sort every row first.
    tabela->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    tabela->setSortingEnabled(true);
    tabela->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabela->setWordWrap(false);
    tabela->horizontalHeader()->setStretchLastSection(true);
    // The first rows say enough of the widths (long values are cut below): measuring a thousand kept the turn that
    // opens the window over 50 ms.
    tabela->horizontalHeader()->setResizeContentsPrecision(100);
    tabela->resizeColumnsToContents();
    // Long values are cut, the field's label is not; the problem takes the rest.
    const int maximos[] = {80, 200, 270, 140};
    for (int c = 0; c < 4; ++c) tabela->setColumnWidth(c, std::min(tabela->columnWidth(c), maximos[c]));
    layout->addWidget(tabela);
    layout->addWidget(BotoesSalvarEFechar(this, std::move(aoSalvar)));
}

}  // namespace zorla
