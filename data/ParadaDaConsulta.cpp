#include "data/ParadaDaConsulta.h"

#include <chrono>

#include "data/DbError.h"
#include "data/SqlConnection.h"

namespace zorla {

ParadaDaConsulta::ParadaDaConsulta(SqlConnection& conexao, std::stop_token parada)
    : m_conexao(conexao), m_parada(std::move(parada)) {
    m_aoParar.emplace(m_parada, [this] { pede(); });
}

ParadaDaConsulta::~ParadaDaConsulta() {
    m_aoParar.reset();  // waits for a stop being asked for right now
    {
        std::lock_guard lock(m_mutex);
        m_terminou = true;
    }
    m_fim.notify_all();
    if (m_insistente.joinable()) m_insistente.join();
}

void ParadaDaConsulta::confere() const {
    if (m_parada.stop_requested()) throw DbError("Operação cancelada.", true);
}

void ParadaDaConsulta::pede() {
    std::lock_guard lock(m_mutex);
    if (!m_terminou && !m_insistente.joinable()) m_insistente = std::thread([this] { insiste(); });
}

void ParadaDaConsulta::insiste() {
    std::unique_lock lock(m_mutex);
    while (!m_terminou) {
        lock.unlock();
        m_conexao.cancelOperation();
        lock.lock();
        m_fim.wait_for(lock, std::chrono::milliseconds(100), [this] { return m_terminou; });
    }
}

}  // namespace zorla
