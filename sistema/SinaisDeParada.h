#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

namespace zorla {

// SIGINT and SIGTERM cancel instead of killing (on Windows, the console's Ctrl-C, Ctrl-Break and close). Made as
// the program's first act, it blocks both in every thread (those the Firebird engine starts later included, which
// would otherwise shut the connections down) and takes them on a watcher thread of its own. SIGXFSZ is ignored: a
// file-size limit makes the write fail, as a full disk does, instead of killing the program in the middle of a
// record.
//
// Each of them stops the program's one stop token, which the work reads. A server that no longer answers can keep
// the work from stopping, so the stop also starts a grace: when it passes, the action given to aoDesistir ends the
// program.
class SinaisDeParada {
public:
    SinaisDeParada();
    ~SinaisDeParada();
    SinaisDeParada(const SinaisDeParada&) = delete;
    SinaisDeParada& operator=(const SinaisDeParada&) = delete;

    std::stop_token parada() const { return m_parada.get_token(); }
    // Stops as a signal would: by a signal's number, or by kTempoEsgotado.
    void cancela(int motivo);
    static constexpr int kTempoEsgotado = -1;

    // Runs on a thread of its own, with the reason, when the grace after the first cancellation has passed (at
    // once when given later); it is meant to end the process. Cleared with nullptr once the work has ended.
    void aoDesistir(std::function<void(int motivo)> acao);
    static constexpr std::chrono::seconds kCarencia{3};

    // The first reason to cancel, 0 when none.
    int motivo() const { return m_motivo.load(); }

private:
    // Where the system's stop requests come in: a watcher thread on POSIX, the console's handler on Windows.
    void vigia();
    void paraDeVigiar();
    void carencia();
    void iniciaCarencia();

    std::atomic<int> m_motivo{0};
    std::atomic<bool> m_parando{false};
    std::stop_source m_parada;
    std::thread m_vigia;
    std::mutex m_desistirMutex;  // apart from m_mutex: the cancel's action may be stuck holding that one
    std::condition_variable m_fim;
    std::function<void(int)> m_desistir;
    std::thread m_carencia;
    std::optional<std::stop_callback<std::function<void()>>> m_inicioDaCarencia;
};

// When the grace has passed with the work not yet stopped: every open output file cut back to its last whole line,
// the side files not yet whole removed, the message of the reason said on the error output, and the program ended
// with 1 for the time limit, 128 + the signal otherwise.
void EncerraAoDesistir(SinaisDeParada& sinais, std::function<std::string(int motivo)> mensagem);

}  // namespace zorla
