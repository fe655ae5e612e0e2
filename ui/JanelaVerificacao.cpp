#include "ui/JanelaVerificacao.h"

#include <algorithm>

#include <QBrush>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace zorla {

namespace {
const char* const kColunas[] = {"Tipo", "Documento", "Campo", "Valor", "Problema"};
}

ProblemasModel::ProblemasModel(std::shared_ptr<const ResultadoDaVerificacao> resultado, QObject* parent)
    : QAbstractTableModel(parent), m_resultado(std::move(resultado)) {}

int ProblemasModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_resultado->problemas.size());
}

int ProblemasModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 5; }

QVariant ProblemasModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const Problema& p = m_resultado->problemas[static_cast<std::size_t>(index.row())];
    if (role == Qt::ForegroundRole && p.gravidade == Gravidade::Erro) return QBrush(QColor(170, 0, 0));
    if (role != Qt::DisplayRole) return {};
    const std::string* const textos[] = {nullptr, &p.documento, &p.campo, &p.valor, &p.problema};
    if (index.column() == 0) return QString::fromUtf8(NomeDaGravidade(p.gravidade));
    return QString::fromStdString(*textos[index.column()]);
}

QVariant ProblemasModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= 5) return {};
    return QString::fromUtf8(kColunas[section]);
}

JanelaVerificacao::JanelaVerificacao(std::shared_ptr<const ResultadoDaVerificacao> resultado, std::function<void()> aoSalvar,
                                     QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("JanelaVerificacao"));
    setWindowTitle(QStringLiteral("ZORLA - Verificação do período"));
    resize(900, 460);
    auto* layout = new QVBoxLayout(this);
    auto* contagem = new QLabel(
        QStringLiteral("%1 erros, %2 avisos").arg(resultado->erros()).arg(resultado->avisos()), this);
    contagem->setObjectName(QStringLiteral("LblContagem"));
    layout->addWidget(contagem);
    auto* proxy = new QSortFilterProxyModel(this);
    proxy->setSourceModel(new ProblemasModel(std::move(resultado), this));
    auto* tabela = new QTableView(this);
    tabela->setObjectName(QStringLiteral("TblProblemas"));
    tabela->setModel(proxy);
    tabela->setSortingEnabled(true);
    tabela->sortByColumn(-1, Qt::AscendingOrder);  // the order of the export until the operator sorts
    tabela->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabela->setWordWrap(false);
    tabela->horizontalHeader()->setStretchLastSection(true);
    tabela->verticalHeader()->hide();
    tabela->verticalHeader()->setDefaultSectionSize(tabela->fontMetrics().height() + 6);
    tabela->resizeColumnsToContents();  // measures the first thousand rows only, whatever the count
    for (int c = 0; c < 4; ++c) tabela->setColumnWidth(c, std::min(tabela->columnWidth(c), 220));  // long values
    layout->addWidget(tabela);
    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* salvar = botoes->addButton(QStringLiteral("Salvar…"), QDialogButtonBox::ActionRole);
    salvar->setObjectName(QStringLiteral("BtnSalvar"));
    connect(salvar, &QPushButton::clicked, this, [aoSalvar = std::move(aoSalvar)] { aoSalvar(); });
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(botoes);
}

}  // namespace zorla
