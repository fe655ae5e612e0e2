#pragma once

#include <cstdint>
#include <memory>

#include "base/Value.h"
#include "export/ConsultaParalela.h"

namespace zorla {

// A period's purchases and cash/bank movements, each fetched on an attachment of its own from the moment they are
// asked for, while something else is done: the sales consulted, the sales book written. A cancel of the module they
// were asked of stops them only while they are waited for.
struct ConsultasAntecipadas {
    Date dataInicial, dataFinal;
    std::int64_t empresa = 0;
    std::unique_ptr<ConsultaParalela> compras, movimento;

    // Both attach before either fetches; none when the server takes no more attachments: the run then asks them of
    // its own, which says what is wrong when something is.
    static ConsultasAntecipadas inicia(TFDMExporta& dm, const ConsultaParalela::NovoModulo& novoModulo,
                                       Date dataInicial, Date dataFinal, std::int64_t empresa);
    bool de(Date inicial, Date final_, std::int64_t codigo) const {
        return compras && movimento && dataInicial == inicial && dataFinal == final_ && empresa == codigo;
    }
};

}  // namespace zorla
