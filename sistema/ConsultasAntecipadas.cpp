#include "sistema/ConsultasAntecipadas.h"

#include "data/DMVantero.h"
#include "data/DbError.h"

namespace zorla {

ConsultasAntecipadas ConsultasAntecipadas::inicia(const ConsultaParalela::NovoModulo& novoModulo, Date dataInicial,
                                                  Date dataFinal, std::int64_t empresa) {
    ConsultasAntecipadas c;
    try {
        c.m_compras = std::make_unique<ConsultaParalela>(novoModulo);
        c.m_movimento = std::make_unique<ConsultaParalela>(novoModulo);
    } catch (const DbError&) {
        return {};
    }
    c.m_dataInicial = dataInicial;
    c.m_dataFinal = dataFinal;
    c.m_empresa = empresa;
    c.m_compras->inicia([=](TFDMExporta& m, std::stop_token parada) {
        m.ConsultaSaidas("E", dataInicial, dataFinal, empresa, std::move(parada));
    });
    c.m_movimento->inicia([=](TFDMExporta& m, std::stop_token parada) {
        m.ConsultaMovimento(dataInicial, dataFinal, std::move(parada));
    });
    return c;
}

ClientDataSet& ConsultasAntecipadas::compras(std::stop_token parada) {
    m_compras->espera(std::move(parada));
    return m_compras->modulo().Saidas();
}

ClientDataSet& ConsultasAntecipadas::movimento(std::stop_token parada) {
    m_movimento->espera(std::move(parada));
    return m_movimento->modulo().Movimento();
}

}  // namespace zorla
