#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/AndamentoDoLote.h"
#include "cli/Lote.h"

namespace zorla {

// What a batch prints when it has ended: a line a company with the lines of each file (or each check's table, or one
// CSV of them all), then what the lines removed of earlier runs and the movements they wrote without an account.
class TabelaDoLote {
public:
    TabelaDoLote(const std::vector<ItemDoLote>& itens, const std::vector<std::unique_ptr<AndamentoDoLote>>& andamentos)
        : m_itens(itens), m_andamentos(andamentos) {}

    void exportacoes() const;
    void verificacoes(bool csv) const;
    // "empresa 1 (linha 3)"
    std::string rotulo(std::size_t i) const;
    // The state, and for a failed line its reason.
    std::string resultado(std::size_t i) const;

private:
    void depoisDaTabela() const;

    const std::vector<ItemDoLote>& m_itens;
    const std::vector<std::unique_ptr<AndamentoDoLote>>& m_andamentos;
};

}  // namespace zorla
