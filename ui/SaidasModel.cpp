#include "ui/SaidasModel.h"

#include <QColor>
#include <QtConcurrent/QtConcurrentRun>

#include "base/Cp1252.h"
#include "base/Formatacao.h"
#include "base/TextoVisivel.h"

namespace zorla {

namespace {
struct Coluna {
    const char* campo;
    const char* titulo;
    int largura;
};

constexpr Coluna kColunas[] = {
    {"CODMOVESTOQUE", "Código", 0},
    {"DATAMOVIMENTO", "Data", 75},
    {"NUMERODOC", "N° Documento", 88},
    {"SERIEDOC", "Série", 35},
    {"VALOR", "Valor", 71},
    {"FAVORECIDO", "Nome", 396},
    {"CODCADASTRO", "Cód.Cliente", 64},
    {"CFOP", "CFOP", 64},
    {"BASEICMS", "Base ICMS", 82},
    {"ALIQUOTAICMS", "Alíquota", 64},
    {"VALORICMS", "Valor ICMS", 78},
    {"VALORICMSSUBST", "Valor ICMS Subst.", 120},
};
constexpr int kNumColunas = sizeof kColunas / sizeof kColunas[0];
}  // namespace

QString formataValor(Decimal valor) { return QString::fromLatin1(ValorFormatado(valor)); }

SaidasModel::SaidasModel(QObject* parent) : QAbstractTableModel(parent) {}

void SaidasModel::atualiza(std::shared_ptr<const PackedRows> rows, const std::vector<FieldDef>& campos) {
    beginResetModel();
    // Rows the grid no longer shows are let go on a worker: no turn of the window waits for their memory to go.
    // Through QtConcurrent, as all the window's work off its thread.
    if (m_rows) (void)QtConcurrent::run([antigas = std::move(m_rows)]() mutable { antigas.reset(); });
    m_rows = std::move(rows);
    m_fonte.clear();
    m_campos.clear();
    for (const Coluna& c : kColunas) {
        for (std::size_t f = 0; m_rows && f < campos.size(); ++f) {
            if (campos[f].name != c.campo) continue;
            m_fonte.push_back(static_cast<int>(f));
            m_campos.push_back(campos[f]);
        }
    }
    if (m_fonte.size() != std::size(kColunas)) m_rows.reset();
    endResetModel();
}

int SaidasModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_rows ? 0 : static_cast<int>(m_rows->size());
}

int SaidasModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kNumColunas; }

QVariant SaidasModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !m_rows) return {};
    // Record numbers count from 1: the even ones are grey.
    if (role == Qt::BackgroundRole) return (index.row() + 1) % 2 == 0 ? QColor(230, 230, 230) : QColor(Qt::white);
    const auto coluna = static_cast<std::size_t>(index.column());
    if (role == Qt::TextAlignmentRole) {
        const FieldType tipo = m_campos[coluna].type;
        const bool numero = tipo == FieldType::Decimal || tipo == FieldType::Integer;
        return QVariant::fromValue(Qt::AlignVCenter | (numero ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole) return {};
    const Cell c = m_rows->cell(static_cast<std::size_t>(index.row()), static_cast<std::size_t>(m_fonte[coluna]));
    switch (c.type) {
        case FieldType::Text:
            return QString::fromStdString(VisivelCp1252(c.text));
        case FieldType::Decimal:
            if (!m_campos[coluna].displayFormat.empty()) return formataValor(Decimal{c.number});
            return QString::fromStdString(DigitosDecimais(Decimal{c.number}));
        case FieldType::Integer:
            return QString::number(c.number);
        case FieldType::Date:
            return QString::fromStdString(DataCurta(*c.value().date()));
        case FieldType::Unsupported:
            break;
    }
    return {};
}

QVariant SaidasModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal && section >= 0 && section < kNumColunas)
        return QString::fromUtf8(kColunas[section].titulo);
    if (orientation == Qt::Vertical) return QVariant();
    return {};
}

int SaidasModel::larguraColuna(int coluna) {
    return coluna >= 0 && coluna < kNumColunas ? kColunas[coluna].largura : 0;
}

}  // namespace zorla
