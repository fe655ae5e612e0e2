#include "export/FilaDeLotes.h"

#include <utility>

namespace zorla {

bool FilaDeLotes::poe(std::shared_ptr<const PackedRows> lote) {
    std::unique_lock lock(m_mutex);
    m_mudou.wait(lock, [this] { return m_desistiu || m_lotes.size() < m_capacidade; });
    if (m_desistiu) return false;
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

std::shared_ptr<const PackedRows> FilaDeLotes::tira() {
    std::unique_lock lock(m_mutex);
    m_mudou.wait(lock, [this] { return m_terminou || !m_lotes.empty(); });
    if (m_lotes.empty()) {
        if (m_falha) std::rethrow_exception(m_falha);
        return nullptr;
    }
    auto lote = std::move(m_lotes.front());
    m_lotes.pop_front();
    m_mudou.notify_all();
    return lote;
}

void FilaDeLotes::desiste() {
    std::lock_guard lock(m_mutex);
    m_desistiu = true;
    m_lotes.clear();
    m_mudou.notify_all();
}

}  // namespace zorla
