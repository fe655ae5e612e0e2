#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

namespace zorla {

// SIGINT and SIGTERM cancel instead of killing. Made as the program's first act, it blocks both in every thread
// (those the Firebird engine starts later included, which would otherwise shut the connections down) and takes
// them on a watcher thread of its own.
class SinaisDeParada {
public:
    SinaisDeParada();
    ~SinaisDeParada();
    SinaisDeParada(const SinaisDeParada&) = delete;
    SinaisDeParada& operator=(const SinaisDeParada&) = delete;

    // Runs at each cancellation, on the thread that asks for it, and at once when one came before; replaced, or
    // cleared with nullptr, at any time.
    void aoCancelar(std::function<void()> acao);
    // Cancels as a signal would: by a signal's number, or by kTempoEsgotado.
    void cancela(int motivo);
    static constexpr int kTempoEsgotado = -1;

    // The first reason to cancel, 0 when none.
    int motivo() const { return m_motivo.load(); }
    const std::atomic<bool>& cancelado() const { return m_cancelado; }

private:
    void vigia();

    std::atomic<int> m_motivo{0};
    std::atomic<bool> m_cancelado{false};
    std::atomic<bool> m_parando{false};
    std::mutex m_mutex;
    std::function<void()> m_acao;
    std::thread m_vigia;
};

}  // namespace zorla
