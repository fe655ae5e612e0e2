#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "leiaute/Leiaute.h"

namespace zorla {

class ClientDataSet;

// Builds a layout's fields from the current row of a dataset; the columns are found once, when it is made.
// An amount too wide for its field fails the record (ValorForaDoLeiaute naming the document).
class MontadorDoLeiaute {
public:
    MontadorDoLeiaute(const Leiaute& leiaute, const ClientDataSet& linhas);

    // Appends the fields [de, ate) of the current row; each Dado field takes the next of `dados`.
    void monta(std::string& linha, std::span<const std::string_view> dados, std::size_t de, std::size_t ate) const;
    void monta(std::string& linha, std::span<const std::string_view> dados) const {
        monta(linha, dados, 0, m_leiaute.campos.size());
    }

private:
    const Leiaute& m_leiaute;
    const ClientDataSet& m_linhas;
    std::vector<int> m_colunas;  // per field: the column it reads, or -1
    std::vector<int> m_outras;   // per field: Cadastro's second column, or -1
    int m_documento;
    mutable std::string m_texto;  // the text of a field before it is filled, kept to spare an allocation a field
};

}  // namespace zorla
