#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace zorla {

// SIGINT and SIGTERM cancel instead of killing (on Windows, the console's Ctrl-C, Ctrl-Break and close). Made as
// the program's first act, it blocks both in every thread (those the Firebird engine starts later included, which
// would otherwise shut the connections down) and takes them on a watcher thread of its own. SIGXFSZ is ignored: a
// file-size limit makes the write fail, as a full disk does, instead of killing the program in the middle of a
// record.
//
// A cancel asks the work to stop; a server that no longer answers can keep it from stopping. So the first
// cancellation also starts a grace: when it passes, the action given to aoDesistir ends the program.
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

    // Runs on a thread of its own, with the reason, when the grace after the first cancellation has passed (at
    // once when given later); it is meant to end the process. Cleared with nullptr once the work has ended.
    void aoDesistir(std::function<void(int motivo)> acao);
    static constexpr std::chrono::seconds kCarencia{3};

    // The first reason to cancel, 0 when none.
    int motivo() const { return m_motivo.load(); }
    const std::atomic<bool>& cancelado() const { return m_cancelado; }

private:
    // Where the system's stop requests come in: a watcher thread on POSIX, the console's handler on Windows.
    void vigia();
    void paraDeVigiar();
    void carencia();

    std::atomic<int> m_motivo{0};
    std::atomic<bool> m_cancelado{false};
    std::atomic<bool> m_parando{false};
    std::mutex m_mutex;
    std::function<void()> m_acao;
    std::thread m_vigia;
    std::mutex m_desistirMutex;  // apart from m_mutex: the cancel's action may be stuck holding that one
    std::condition_variable m_fim;
    std::function<void(int)> m_desistir;
    std::thread m_carencia;
};

}  // namespace zorla
