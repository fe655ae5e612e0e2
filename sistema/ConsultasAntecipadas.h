#pragma once

#include <cstdint>
#include <memory>
#include <stop_token>

#include "base/Value.h"
#include "sistema/ConsultaParalela.h"

namespace zorla {

class ClientDataSet;

// A period's purchases and cash/bank movements, each fetched on an attachment of its own from the moment they are
// asked for, while something else is done: the sales consulted, the sales book written. The stop of whoever waits
// for one stops it only while it is waited for; letting them go stops them.
class ConsultasAntecipadas {
public:
    ConsultasAntecipadas() = default;  // none
    // Both attach before either fetches; none when the server takes no more attachments: the run then asks them of
    // its own module, which says what is wrong when something is.
    static ConsultasAntecipadas inicia(const ConsultaParalela::NovoModulo& novoModulo, Date dataInicial, Date dataFinal,
                                       std::int64_t empresa);

    explicit operator bool() const { return m_compras && m_movimento; }
    bool de(Date inicial, Date final_, std::int64_t codigo) const {
        return *this && m_dataInicial == inicial && m_dataFinal == final_ && m_empresa == codigo;
    }
    // Each once it has arrived; its failure when it failed.
    ClientDataSet& compras(std::stop_token parada);
    ClientDataSet& movimento(std::stop_token parada);

private:
    Date m_dataInicial, m_dataFinal;
    std::int64_t m_empresa = 0;
    std::unique_ptr<ConsultaParalela> m_compras, m_movimento;
};

}  // namespace zorla
