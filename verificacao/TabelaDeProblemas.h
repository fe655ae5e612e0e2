#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "verificacao/Problema.h"

namespace zorla {

// The check's problems as a table in columns of their width (UTF-8): every problem measured first, then the
// heading and each problem's line written. A long value is shown by its start: the CSV carries it whole.
class TabelaDeProblemas {
public:
    TabelaDeProblemas();
    void mede(const Problema& p);
    // Another table's measures, of problems measured apart.
    void junta(const TabelaDeProblemas& outra);
    std::string cabecalho() const;
    std::string linha(const Problema& p) const;
    // The same line added to the end of `saida`: millions of them are written without a string each.
    void acrescentaLinha(const Problema& p, std::string& saida) const;

private:
    void acrescenta(const std::array<std::string_view, 5>& colunas, bool cortado, std::string& saida) const;
    std::array<std::size_t, 5> m_larguras{};
};

}  // namespace zorla
