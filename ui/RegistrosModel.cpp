#include "ui/RegistrosModel.h"

#include <algorithm>
#include <numeric>

#include "base/Cp1252.h"
#include "base/TextoVisivel.h"
#include "conferencia/LeituraDoCampo.h"

namespace zorla {

RegistrosModel::RegistrosModel(std::shared_ptr<const ArquivoConferido> arquivo, QObject* parent)
    : QAbstractTableModel(parent),
      m_arquivo(std::move(arquivo)),
      m_leiaute(LeiauteDoTipo(m_arquivo->conferencia.totais.tipo)),
      m_campos(m_leiaute.camposComNome()) {}

int RegistrosModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_arquivo->conferencia.totais.linhas);
}

int RegistrosModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_campos.size()) + 1;
}

long RegistrosModel::linha(int fila) const {
    return (m_ordem.empty() ? fila : m_ordem[static_cast<std::size_t>(fila)]) + 1;
}

int RegistrosModel::fila(long linha) const {
    if (m_ordem.empty()) return static_cast<int>(linha - 1);
    const auto it = std::find(m_ordem.begin(), m_ordem.end(), static_cast<int>(linha - 1));
    return it == m_ordem.end() ? -1 : static_cast<int>(it - m_ordem.begin());
}

// The line without its end; the file may have changed since it was read, and then shows what it holds now.
const std::string& RegistrosModel::texto(long linha) const {
    if (m_lida == linha) return m_texto;
    const auto& inicios = m_arquivo->inicios;
    const auto i = static_cast<std::size_t>(linha - 1);
    // A line of no end is shown by its start.
    m_texto.assign(static_cast<std::size_t>(std::min<std::uint64_t>(inicios[i + 1] - inicios[i], 1 << 16)), '\0');
    try {
        m_texto.resize(m_arquivo->arquivo ? m_arquivo->arquivo->le(m_texto.data(), m_texto.size(), inicios[i]) : 0);
    } catch (const std::runtime_error&) {
        m_texto.clear();  // a disk that fails now shows an empty line; the check already read it whole
    }
    while (!m_texto.empty() && (m_texto.back() == '\n' || m_texto.back() == '\r')) m_texto.pop_back();
    m_lida = linha;
    return m_texto;
}

// A field as a person reads it (a date, an amount with its separators), as it is written in the tooltip; amounts and
// the line's number on the right.
QVariant RegistrosModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const std::size_t c = index.column() == 0 ? 0 : m_campos[static_cast<std::size_t>(index.column() - 1)];
    if (role == Qt::TextAlignmentRole) {
        const bool numero = index.column() == 0 || m_leiaute.campos[c].regra == Regra::Valor;
        return QVariant::fromValue(Qt::AlignVCenter | (numero ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const long n = linha(index.row());
    if (index.column() == 0) return QVariant::fromValue(n);
    const std::string_view campo = m_leiaute.campo(texto(n), c);
    if (role == Qt::ToolTipRole) return QString::fromStdString("\"" + VisivelCp1252(campo) + "\"");
    return QString::fromStdString(CampoParaPessoa(m_leiaute.campos[c], campo));
}

QVariant RegistrosModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    if (section == 0) return QStringLiteral("Linha");
    return QString::fromStdString(m_leiaute.titulo(m_campos[static_cast<std::size_t>(section - 1)], true));
}

void RegistrosModel::sort(int column, Qt::SortOrder order) {
    if (column <= 0 && m_ordem.empty() && order == Qt::AscendingOrder) return;
    std::vector<int> ordem(static_cast<std::size_t>(rowCount()));
    std::iota(ordem.begin(), ordem.end(), 0);
    if (column > 0) {
        const std::size_t c = m_campos[static_cast<std::size_t>(column - 1)];
        std::vector<std::string> chaves;
        chaves.reserve(ordem.size());
        const auto chave = [&](long, std::string_view l) {
            chaves.emplace_back(m_leiaute.campo(l, c));
            return chaves.size() < ordem.size();
        };
        try {
            if (m_arquivo->arquivo)
                LeLinhas(*m_arquivo->arquivo, chave);
            else
                LeLinhas(m_arquivo->conferencia.totais.caminho, chave);
        } catch (const std::runtime_error&) {
            // A disk that fails now: the lines not read sort as empty.
        }
        chaves.resize(ordem.size());
        std::stable_sort(ordem.begin(), ordem.end(), [&](int a, int b) {
            return chaves[static_cast<std::size_t>(a)] < chaves[static_cast<std::size_t>(b)];
        });
    }
    if (order == Qt::DescendingOrder) std::reverse(ordem.begin(), ordem.end());
    beginResetModel();
    m_ordem = column <= 0 && order == Qt::AscendingOrder ? std::vector<int>() : std::move(ordem);
    endResetModel();
}

}  // namespace zorla
