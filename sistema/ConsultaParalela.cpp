#include "sistema/ConsultaParalela.h"

#include "data/DMVantero.h"
#include "sistema/PrioridadeDaThread.h"

namespace zorla {

ConsultaParalela::ConsultaParalela(const NovoModulo& novoModulo) : m_dm(novoModulo()) {}

ConsultaParalela::~ConsultaParalela() {
    m_acompanhada.reset();
    m_parada.request_stop();
    if (m_thread.joinable()) m_thread.join();
}

void ConsultaParalela::inicia(Consulta consulta) {
    m_thread = std::thread([this, consulta = std::move(consulta)] {
        // Beside the window, whose turns come first, as the run's own worker.
        BaixaPrioridadeDaThread();
        try {
            consulta(*m_dm, m_parada.get_token());
        } catch (...) {
            m_falha = std::current_exception();
        }
    });
}

void ConsultaParalela::acompanha(std::stop_token parada) {
    m_acompanhada.emplace(std::move(parada), [this] { m_parada.request_stop(); });
}

void ConsultaParalela::espera(std::stop_token parada) {
    if (m_thread.joinable()) {
        const Ligacao ligada(std::move(parada), [this] { m_parada.request_stop(); });
        m_thread.join();
    }
    if (m_falha) std::rethrow_exception(m_falha);
}

}  // namespace zorla
