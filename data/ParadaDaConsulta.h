#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

namespace zorla {

class SqlConnection;

// A statement's side of a stop: once the token is stopped, the server is asked to cancel what runs on the
// connection, and asked again every tenth of a second until the statement has ended, since a cancel that lands
// between two of the statement's calls finds nothing to stop. Off the thread that asked for the stop: a server that
// does not answer never holds it.
class ParadaDaConsulta {
public:
    ParadaDaConsulta(SqlConnection& conexao, std::stop_token parada);
    ~ParadaDaConsulta();  // the statement has ended: no more asking
    ParadaDaConsulta(const ParadaDaConsulta&) = delete;
    ParadaDaConsulta& operator=(const ParadaDaConsulta&) = delete;

    // Throws the cancel's DbError when the stop was asked for: before each of the statement's calls and after it.
    void confere() const;

private:
    void pede();
    void insiste();

    SqlConnection& m_conexao;
    std::stop_token m_parada;
    std::mutex m_mutex;
    std::condition_variable m_fim;
    bool m_terminou = false;
    std::thread m_insistente;
    std::optional<std::stop_callback<std::function<void()>>> m_aoParar;  // last: it goes first
};

}  // namespace zorla
