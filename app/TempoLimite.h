#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace zorla {

// A deadline for the whole program. When it passes, the action cancels what is under way; a server that no
// longer answers cannot be waited for, so the program ends on its own after a short grace.
class TempoLimite {
public:
    TempoLimite(std::chrono::seconds limite, std::function<void()> aoEsgotar, std::function<void()> aoDesistir);
    ~TempoLimite();  // stops the watch
    TempoLimite(const TempoLimite&) = delete;
    TempoLimite& operator=(const TempoLimite&) = delete;

    bool esgotado() const;

    static constexpr std::chrono::seconds kCarencia{5};

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_fim = false;
    bool m_esgotado = false;
    std::thread m_vigia;
};

}  // namespace zorla
