#include "ui/DiferencasModel.h"

#include <QBrush>
#include <algorithm>
#include <cctype>
#include <compare>

#include "comparacao/TextoDaComparacao.h"

namespace zorla {

namespace {
// What a cell sorts by: an amount, a document's number or a line's by its value; a date, alone or at the head of a
// record, by year, month and day; the rest as text. Numbers come before dates, and dates before text.
struct Chave {
    int classe = 2;
    long double numero = 0;
    std::string texto;
    std::partial_ordering operator<=>(const Chave&) const = default;
};

bool soDigitos(std::string_view t) {
    return !t.empty() && std::all_of(t.begin(), t.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

// Digits read as a number without the locale, whose decimal point may be a comma.
long double valorDecimal(std::string_view inteiro, std::string_view fracao) {
    long double v = 0, casa = 1;
    for (char c : inteiro) v = v * 10 + (c - '0');
    for (char c : fracao) v += (c - '0') * (casa /= 10);
    return v;
}

Chave chave(std::string t) {
    if (t.starts_with("linha ")) t.erase(0, 6);
    // "1.234,56", "-0,10", "000123": dots between thousands, a decimal comma
    const bool negativo = t.starts_with('-');
    std::string inteiro, fracao;
    const std::size_t virgula = t.find(',');
    for (char c : std::string_view(t).substr(negativo, virgula - negativo))
        if (c != '.') inteiro += c;
    if (virgula != std::string::npos) fracao = t.substr(virgula + 1);
    if (soDigitos(inteiro) && (virgula == std::string::npos || soDigitos(fracao)))
        return {0, (negativo ? -1 : 1) * valorDecimal(inteiro, fracao), {}};
    if (t.size() >= 10 && t[2] == '/' && t[5] == '/' && soDigitos(t.substr(0, 2)) && soDigitos(t.substr(3, 2)) &&
        soDigitos(t.substr(6, 4)))
        return {1, 0, t.substr(6, 4) + t.substr(3, 2) + t.substr(0, 2) + t.substr(10)};
    return {2, 0, std::move(t)};
}
}  // namespace

DiferencasModel::DiferencasModel(std::shared_ptr<const ResultadoDaComparacao> resultado, QObject* parent)
    : QAbstractTableModel(parent), m_resultado(std::move(resultado)) {
    for (std::size_t a = 0; a < m_resultado->arquivos.size(); ++a) {
        const auto& mudancas = m_resultado->arquivos[a].mudancas;
        for (std::size_t m = 0; m < mudancas.size(); ++m) {
            if (mudancas[m].campos.empty()) m_todas.push_back({a, m, -1});
            for (std::size_t c = 0; c < mudancas[m].campos.size(); ++c) m_todas.push_back({a, m, static_cast<int>(c)});
        }
    }
    m_visiveis = m_todas;
}

int DiferencasModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_visiveis.size());
}

int DiferencasModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kColunasDaComparacao.size());
}

std::string DiferencasModel::texto(const Linha& l, int coluna) const {
    const ArquivoComparado& a = m_resultado->arquivos[l.arquivo];
    std::string celula =
        std::move(CelulasDaDiferenca(a, a.mudancas[l.mudanca], l.campo)[static_cast<std::size_t>(coluna)]);
    return l.campo >= 0 && coluna >= 4 ? ValorOuEmBranco(celula) : celula;
}

QVariant DiferencasModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const Linha& l = linha(index.row());
    if (role == Qt::ForegroundRole && index.column() == 1) {
        const Mudanca::Tipo t = m_resultado->arquivos[l.arquivo].mudancas[l.mudanca].tipo;
        if (t == Mudanca::Tipo::Removido) return QBrush(QColor(170, 0, 0));
        if (t == Mudanca::Tipo::Novo) return QBrush(QColor(0, 110, 0));
    }
    if (role == Qt::TextAlignmentRole && index.column() >= 4) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    return QString::fromStdString(texto(l, index.column()));
}

QVariant DiferencasModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= static_cast<int>(kColunasDaComparacao.size()))
        return {};
    return QString::fromStdString(kColunasDaComparacao[static_cast<std::size_t>(section)]);
}

void DiferencasModel::filtra(const std::string& arquivo, std::optional<Mudanca::Tipo> tipo) {
    m_arquivo = arquivo;
    m_tipo = tipo;
    beginResetModel();
    monta();
    endResetModel();
}

void DiferencasModel::sort(int column, Qt::SortOrder order) {
    m_coluna = column;
    m_ordem = order;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const std::vector<Linha> antes = m_visiveis;
    monta();
    // The row chosen stays chosen, wherever its difference went.
    const QModelIndexList de = persistentIndexList();
    QModelIndexList para;
    for (const QModelIndex& i : de) {
        const Linha& l = antes[static_cast<std::size_t>(i.row())];
        const auto achada = std::find_if(m_visiveis.begin(), m_visiveis.end(), [&](const Linha& x) {
            return x.arquivo == l.arquivo && x.mudanca == l.mudanca && x.campo == l.campo;
        });
        para.push_back(achada == m_visiveis.end() ? QModelIndex()
                                                  : index(static_cast<int>(achada - m_visiveis.begin()), i.column()));
    }
    changePersistentIndexList(de, para);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

// The rows the filter lets through, in the files' order or as sorted.
void DiferencasModel::monta() {
    m_visiveis.clear();
    for (const Linha& l : m_todas) {
        const ArquivoComparado& a = m_resultado->arquivos[l.arquivo];
        if (!m_arquivo.empty() && a.nome != m_arquivo) continue;
        if (m_tipo && a.mudancas[l.mudanca].tipo != *m_tipo) continue;
        m_visiveis.push_back(l);
    }
    if (m_coluna < 0) return;
    std::vector<std::pair<Chave, Linha>> porChave;
    porChave.reserve(m_visiveis.size());
    for (const Linha& l : m_visiveis) porChave.emplace_back(chave(texto(l, m_coluna)), l);
    std::stable_sort(porChave.begin(), porChave.end(), [&](const auto& x, const auto& y) {
        return m_ordem == Qt::AscendingOrder ? x.first < y.first : y.first < x.first;
    });
    for (std::size_t i = 0; i < porChave.size(); ++i) m_visiveis[i] = porChave[i].second;
}

}  // namespace zorla
