#include "cli/TempoLimite.h"

namespace zorla {

TempoLimite::TempoLimite(std::chrono::seconds limite, std::function<void()> aoEsgotar) {
    m_vigia = std::thread([this, limite, aoEsgotar = std::move(aoEsgotar)] {
        std::unique_lock lock(m_mutex);
        if (m_cv.wait_for(lock, limite, [&] { return m_fim; })) return;
        m_esgotado = true;
        lock.unlock();
        aoEsgotar();
    });
}

TempoLimite::~TempoLimite() {
    {
        std::lock_guard lock(m_mutex);
        m_fim = true;
    }
    m_cv.notify_all();
    m_vigia.join();
}

bool TempoLimite::esgotado() const {
    std::lock_guard lock(m_mutex);
    return m_esgotado;
}

}  // namespace zorla
