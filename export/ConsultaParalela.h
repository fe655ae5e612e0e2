#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

namespace zorla {

class TFDMExporta;

// A query of the run fetched on its own attachment and thread while the run writes another file, so that its rows
// are there when the run comes to them. Cancelling the run's module cancels it too.
class ConsultaParalela {
public:
    // A module attached to the same database as the run's.
    using NovoModulo = std::function<std::unique_ptr<TFDMExporta>()>;
    using Consulta = std::function<void(TFDMExporta&)>;

    // The module is made (and attached) at once, on the caller's thread; fails as the attachment does.
    ConsultaParalela(TFDMExporta& principal, const NovoModulo& novoModulo);
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
    std::unique_ptr<TFDMExporta> m_dm;
    std::thread m_thread;
    std::atomic<bool> m_terminou{false};
    std::exception_ptr m_falha;
};

}  // namespace zorla
