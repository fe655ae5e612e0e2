#include "export/ConsultaParalela.h"

#include <chrono>

#include "data/DMVantero.h"
#include "export/PrioridadeDaThread.h"

namespace zorla {

ConsultaParalela::ConsultaParalela(TFDMExporta& principal, const NovoModulo& novoModulo, Cancelamento cancelamento)
    : m_principal(principal), m_cancelamento(cancelamento), m_dm(novoModulo()) {
    if (m_cancelamento == Cancelamento::SempreJunto) m_principal.vincula(*m_dm);
}

ConsultaParalela::~ConsultaParalela() {
    if (m_cancelamento == Cancelamento::SempreJunto) m_principal.desvincula(*m_dm);
    if (!m_thread.joinable()) return;
    // A statement that starts just after a cancel is not stopped by it: cancelled until the fetch is over.
    while (!m_terminou) {
        m_dm->cancela();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    m_thread.join();
}

void ConsultaParalela::inicia(Consulta consulta) {
    m_thread = std::thread([this, consulta = std::move(consulta)] {
        // Beside the window, whose turns come first, as the run's own worker.
        BaixaPrioridadeDaThread();
        try {
            consulta(*m_dm);
        } catch (...) {
            m_falha = std::current_exception();
        }
        m_terminou = true;
    });
}

void ConsultaParalela::espera() {
    if (m_thread.joinable()) {
        if (m_cancelamento == Cancelamento::AoEsperar) m_principal.vincula(*m_dm);
        m_thread.join();
        if (m_cancelamento == Cancelamento::AoEsperar) m_principal.desvincula(*m_dm);
    }
    if (m_falha) std::rethrow_exception(m_falha);
}

}  // namespace zorla
