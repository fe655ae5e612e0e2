#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QtConcurrent/QtConcurrentRun>
#include <atomic>
#include <exception>
#include <functional>
#include <optional>
#include <stop_token>
#include <utility>

namespace zorla {

// Work off the window's thread: a query, a check, files read or saved. Its end is taken on the window's thread,
// by `aoTerminar` with its value or by `aoFalhar` with the text of its failure, unless it was let go first. Each run
// has a stop of its own, asked for when it is let go: what it does on the server stops, and nobody polls.
template <class R>
class TrabalhoForaDaJanela {
public:
    using Explica = std::function<QString(const std::exception&)>;

    TrabalhoForaDaJanela(QObject* dono, std::function<void(R)> aoTerminar, std::function<void(const QString&)> aoFalhar)
        : m_aoTerminar(std::move(aoTerminar)), m_aoFalhar(std::move(aoFalhar)) {
        QObject::connect(&m_watcher, &QFutureWatcher<Fim>::finished, dono, [this] { acabou(); });
    }
    ~TrabalhoForaDaJanela() {
        larga();
        espera();
    }
    TrabalhoForaDaJanela(const TrabalhoForaDaJanela&) = delete;
    TrabalhoForaDaJanela& operator=(const TrabalhoForaDaJanela&) = delete;

    // Starts the work on a thread of the pool; the text of a failure is made there by `explica`.
    void inicia(std::function<R(std::stop_token)> trabalho, Explica explica) {
        m_parada = std::stop_source();
        m_pendente = true;
        s_entregas.fetch_add(1, std::memory_order_release);
        m_watcher.setFuture(QtConcurrent::run(
            [trabalho = std::move(trabalho), explica = std::move(explica), parada = m_parada.get_token()]() -> Fim {
                s_entregas.load(std::memory_order_acquire);
                try {
                    return Fim{trabalho(parada), {}};
                } catch (const std::exception& e) {
                    return Fim{std::nullopt, explica(e)};
                }
            }));
    }
    // From the start to the turn that takes its end.
    bool pendente() const { return m_pendente; }
    bool rodando() const { return m_watcher.isRunning(); }
    // Nobody takes its end any more, and it is asked to stop; returns at once.
    void larga() {
        m_pendente = false;
        m_parada.request_stop();
    }
    // For the window's last moments: the work's end, whatever it is.
    void espera() { m_watcher.waitForFinished(); }
    // Runs on the window's thread whenever a run ends, taken or let go.
    void aoAcabar(std::function<void()> acao) { m_aoAcabar = std::move(acao); }

private:
    struct Fim {
        std::optional<R> valor;
        QString erro;
    };

    void acabou() {
        if (std::exchange(m_pendente, false)) {
            Fim fim = m_watcher.result();
            if (fim.valor)
                m_aoTerminar(std::move(*fim.valor));
            else
                m_aoFalhar(fim.erro);
        }
        if (m_aoAcabar) m_aoAcabar();
    }

    // Qt's pool hands a task over through locks ThreadSanitizer cannot see; this release before the hand-over and
    // acquire on arrival state what those locks guarantee, so what the window made for the work (and threads the
    // work starts) is not taken for a race.
    static inline std::atomic<unsigned> s_entregas{0};

    QFutureWatcher<Fim> m_watcher;
    std::stop_source m_parada;
    bool m_pendente = false;
    std::function<void(R)> m_aoTerminar;
    std::function<void(const QString&)> m_aoFalhar;
    std::function<void()> m_aoAcabar;
};

}  // namespace zorla
