#pragma once

#include <memory>
#include <string>

#include "export/ParametrosDaExecucao.h"

namespace zorla {

class TravaPasta;

// A run's output made ready by the gate: the folder examined (or created) and locked, its names free to be written.
// It keeps the folder locked until the run that takes it ends, or until it is let go.
class SaidaPreparada {
public:
    SaidaPreparada(SaidaPreparada&&) noexcept;
    SaidaPreparada& operator=(SaidaPreparada&&) noexcept;
    ~SaidaPreparada();

    const ParametrosDaExecucao& parametros() const { return m_params; }
    // Whether the gate created the folder, which the operator is told.
    bool pastaCriada() const { return m_criada; }

private:
    friend class Sessao;
    SaidaPreparada(ParametrosDaExecucao params, std::unique_ptr<TravaPasta> trava, bool criada);

    ParametrosDaExecucao m_params;
    std::unique_ptr<TravaPasta> m_trava;
    bool m_criada = false;
};

// "A pasta … não existia e foi criada."
std::string MensagemPastaCriada(const std::string& pasta);

}  // namespace zorla
