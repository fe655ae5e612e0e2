#pragma once

#include <optional>
#include <string>
#include <vector>

#include "export/EventosDaExportacao.h"
#include "export/MontadorDoLeiaute.h"

namespace zorla {

class ClientDataSet;

// Entry lines of the current cash/bank movement: one or two lines of 75 characters, without line end.
// The positions of the fields are looked up once, when it is made.
class MontadorLancamentos {
public:
    explicit MontadorLancamentos(const ClientDataSet& movimentos);

    // The prefix is the first history line of receipts and payments; empty, the history comes from HISTORICO.
    // An amount too wide for its field fails (ValorForaDoLeiaute).
    std::vector<std::string> monta(const std::string& prefixo) const;
    // The name of the party whose account is missing, the credit one first; nothing when both are present.
    std::optional<std::string> parteSemConta() const;
    // The movement as the run reports it when written without an account.
    Pendencia pendencia(std::string parte) const;

private:
    std::string linha(const std::string& cabeca, char numero, std::string_view historico, std::string_view valor,
                      const std::string& data) const;

    const ClientDataSet& m_mov;
    MontadorDoLeiaute m_montador;
    int m_devedora, m_credora, m_documento, m_parcela, m_valor, m_historico, m_data, m_centro, m_local, m_nomeCredor,
        m_nomeDevedor;
};

}  // namespace zorla
