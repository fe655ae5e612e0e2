#include "sistema/FilaDeLotes.h"

#include <utility>

namespace zorla {

bool FilaDeLotes::poe(std::shared_ptr<const PackedRows> lote, std::stop_token parada) {
    std::unique_lock lock(m_mutex);
    m_mudou.wait(lock, parada, [this] { return m_lotes.size() < m_capacidade; });
    if (parada.stop_requested()) return false;
    m_lotes.push_back(std::move(lote));
    m_mudou.notify_all();
    return true;
}

void FilaDeLotes::termina(std::exception_ptr falha) {
    std::lock_guard lock(m_mutex);
    m_terminou = true;
    m_falha = std::move(falha);
    m_mudou.notify_all();
}

std::shared_ptr<const PackedRows> FilaDeLotes::tira(std::stop_token parada) {
    std::unique_lock lock(m_mutex);
    m_mudou.wait(lock, parada, [this] { return m_terminou || !m_lotes.empty(); });
    if (parada.stop_requested()) return nullptr;
    if (m_lotes.empty()) {
        if (m_falha) std::rethrow_exception(m_falha);
        return nullptr;
    }
    auto lote = std::move(m_lotes.front());
    m_lotes.pop_front();
    m_mudou.notify_all();
    return lote;
}

}  // namespace zorla
