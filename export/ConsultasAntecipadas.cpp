#include "export/ConsultasAntecipadas.h"

#include "data/DMVantero.h"
#include "data/DbError.h"

namespace zorla {

ConsultasAntecipadas ConsultasAntecipadas::inicia(TFDMExporta& dm, const ConsultaParalela::NovoModulo& novoModulo,
                                                  Date dataInicial, Date dataFinal, std::int64_t empresa) {
    ConsultasAntecipadas c{dataInicial, dataFinal, empresa, nullptr, nullptr};
    using C = ConsultaParalela::Cancelamento;
    try {
        c.compras = std::make_unique<ConsultaParalela>(dm, novoModulo, C::AoEsperar);
        c.movimento = std::make_unique<ConsultaParalela>(dm, novoModulo, C::AoEsperar);
    } catch (const DbError&) {
        return ConsultasAntecipadas{dataInicial, dataFinal, empresa, nullptr, nullptr};
    }
    c.compras->inicia([=](TFDMExporta& m) { m.ConsultaSaidas("E", dataInicial, dataFinal, empresa); });
    c.movimento->inicia([=](TFDMExporta& m) { m.ConsultaMovimento(dataInicial, dataFinal); });
    return c;
}

}  // namespace zorla
