#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace zorla {

// A deadline for the whole program. When it passes, the action cancels what is under way.
class TempoLimite {
public:
    TempoLimite(std::chrono::seconds limite, std::function<void()> aoEsgotar);
    ~TempoLimite();  // stops the watch
    TempoLimite(const TempoLimite&) = delete;
    TempoLimite& operator=(const TempoLimite&) = delete;

    bool esgotado() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_fim = false;
    bool m_esgotado = false;
    std::thread m_vigia;
};

}  // namespace zorla
