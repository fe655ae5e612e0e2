#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

namespace zorla {

class TFDMExporta;

// A query fetched on its own attachment and thread while the caller does other work, so that its rows are there
// when it comes to them. Cancelling the caller's module cancels it too: all along, or (a run's, which a cancel
// during the sales book must not stop) only while the caller waits for it.
class ConsultaParalela {
public:
    // A module attached to the same database as the run's.
    using NovoModulo = std::function<std::unique_ptr<TFDMExporta>()>;
    using Consulta = std::function<void(TFDMExporta&)>;

    enum class Cancelamento { SempreJunto, AoEsperar };
    // The module is made (and attached) at once, on the caller's thread; fails as the attachment does.
    ConsultaParalela(TFDMExporta& principal, const NovoModulo& novoModulo, Cancelamento cancelamento);
    ~ConsultaParalela();  // stops a fetch still under way and waits for it
    ConsultaParalela(const ConsultaParalela&) = delete;
    ConsultaParalela& operator=(const ConsultaParalela&) = delete;

    void inicia(Consulta consulta);
    // Waits for the query to end; its failure, when it failed.
    void espera();
    // The module it ran on, and the datasets it filled.
    TFDMExporta& modulo() { return *m_dm; }

private:
    TFDMExporta& m_principal;
    Cancelamento m_cancelamento;
    std::unique_ptr<TFDMExporta> m_dm;
    std::thread m_thread;
    std::atomic<bool> m_terminou{false};
    std::exception_ptr m_falha;
};

}  // namespace zorla
