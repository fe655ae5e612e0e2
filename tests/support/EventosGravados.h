#pragma once

#include <mutex>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "base/Caminho.h"
#include "export/EventosDaExportacao.h"

namespace zorla::test {

// Records every event of a run, in order, as a short text; can stop the run when a record number is reached.
class EventosGravados : public EventosDaExportacao {
public:
    std::stop_source parada;
    int cancelAtRecord = -1;

    void etapaIniciada(Etapa e, int registros) override {
        add("etapa " + std::to_string(static_cast<int>(e)) + " " + std::to_string(registros));
    }
    void registroFeito(int numero, std::string_view movimento) override {
        add("registro " + std::to_string(numero) + (movimento.empty() ? "" : " " + std::string(movimento)));
        if (numero == cancelAtRecord) parada.request_stop();
    }
    void arquivoIniciado(TipoArquivo, const std::string& caminho) override { add("arquivo " + NomeDoArquivo(caminho)); }
    void aviso(const Aviso& a) override {
        add("aviso " + a.texto);
        std::lock_guard lock(m_mutex);
        m_avisos.push_back(a.texto);
    }
    void cancelado() override { add("cancelado"); }
    void terminou(const ResultadoDaExportacao& r) override {
        add("fim " + std::to_string(static_cast<int>(r.desfecho)));
        std::lock_guard lock(m_mutex);
        ++m_fins;
    }

    std::vector<std::string> events() const {
        std::lock_guard lock(m_mutex);
        return m_events;
    }
    std::vector<std::string> avisos() const {
        std::lock_guard lock(m_mutex);
        return m_avisos;
    }
    int fins() const {
        std::lock_guard lock(m_mutex);
        return m_fins;
    }

private:
    void add(std::string e) {
        std::lock_guard lock(m_mutex);
        m_events.push_back(std::move(e));
    }
    mutable std::mutex m_mutex;
    std::vector<std::string> m_events, m_avisos;
    int m_fins = 0;
};

}  // namespace zorla::test
