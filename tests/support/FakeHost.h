#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "ExportHost.h"

namespace zorla::test {

// Records every call of a run in order, as text.
class FakeHost : public ExportHost {
public:
    std::atomic<bool> cancel{false};
    int cancelAtPosition = -1;  // sets the cancel flag when the gauge reaches it

    bool cancelado() const override { return cancel.load(); }
    void terminaExportacao() override { add("fim"); }
    void painelStatus(bool visivel, Rgb cor) override {
        add(std::string("painel ") + (visivel ? "visivel " : "oculto ") + std::to_string(cor.r) + "," +
            std::to_string(cor.g) + "," + std::to_string(cor.b));
    }
    void lblMovimento(const std::string& t) override { add("movimento " + t); }
    void lblArquivo(const std::string& t) override { add("arquivo " + t); }
    void gaugeMaximo(int m) override { add("maximo " + std::to_string(m)); }
    void gaugePosicao(int p) override {
        add("posicao " + std::to_string(p));
        if (p == cancelAtPosition) cancel = true;
    }
    void titulo(const std::string& t) override { add("titulo " + t); }
    void repinta() override { add("repinta"); }
    void mensagem(const std::string& t, MessageIcon i) override {
        std::lock_guard lock(m_mutex);
        m_events.push_back(std::string(i == MessageIcon::Error ? "erro " : "info ") + t);
        m_messages.push_back(t);
    }
    void controlesDados(bool ativos) override { add(ativos ? "controles on" : "controles off"); }

    std::vector<std::string> events() const {
        std::lock_guard lock(m_mutex);
        return m_events;
    }
    std::vector<std::string> messages() const {
        std::lock_guard lock(m_mutex);
        return m_messages;
    }
    bool has(const std::string& event) const {
        for (const auto& e : events())
            if (e == event) return true;
        return false;
    }

private:
    void add(std::string e) {
        std::lock_guard lock(m_mutex);
        m_events.push_back(std::move(e));
    }
    mutable std::mutex m_mutex;
    std::vector<std::string> m_events;
    std::vector<std::string> m_messages;
};

}  // namespace zorla::test
