#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <thread>

namespace zorla {

class TFDMExporta;

// A query fetched on its own attachment and thread while the caller does other work, so that its rows are there
// when it comes to them. It stops with a stop of its own: asked for when it is let go, and by the caller's stop while
// the caller follows it (all along, or only while it waits: a run's, which a cancel during the sales book must not
// stop).
class ConsultaParalela {
public:
    // A module attached to the same database as the caller's.
    using NovoModulo = std::function<std::unique_ptr<TFDMExporta>()>;
    using Consulta = std::function<void(TFDMExporta&, std::stop_token)>;

    // The module is made (and attached) at once, on the caller's thread; fails as the attachment does.
    explicit ConsultaParalela(const NovoModulo& novoModulo);
    ~ConsultaParalela();  // stops a fetch still under way and waits for it
    ConsultaParalela(const ConsultaParalela&) = delete;
    ConsultaParalela& operator=(const ConsultaParalela&) = delete;

    void inicia(Consulta consulta);
    // From now on, the caller's stop stops the query too.
    void acompanha(std::stop_token parada);
    // Waits for the query to end, stopped meanwhile by the caller's stop; its failure, when it failed.
    void espera(std::stop_token parada);
    // The module it ran on, and the datasets it filled.
    TFDMExporta& modulo() { return *m_dm; }

private:
    using Ligacao = std::stop_callback<std::function<void()>>;
    std::unique_ptr<TFDMExporta> m_dm;
    std::stop_source m_parada;
    std::optional<Ligacao> m_acompanhada;
    std::thread m_thread;
    std::exception_ptr m_falha;
};

}  // namespace zorla
