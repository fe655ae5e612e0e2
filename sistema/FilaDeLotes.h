#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <stop_token>

namespace zorla {

class PackedRows;

// Enough rows a batch that handing one on costs nothing beside what is done with it; few enough batches waiting that
// the memory stays a few MiB whatever the period holds.
inline constexpr std::size_t kLinhasPorLote = 4096;
inline constexpr std::size_t kLotesEmEspera = 4;

// Batches of rows from a fetch to the writer of a file. At most `capacidade` wait: beyond that the fetch waits for
// the writer, and the memory stays bounded; the writer waits for the next batch. The fetch ends it, with its failure
// when it failed. Either side stops waiting once the stop it is given is asked for.
class FilaDeLotes {
public:
    explicit FilaDeLotes(std::size_t capacidade) : m_capacidade(capacidade) {}

    // False when stopped first: the batch was not taken.
    bool poe(std::shared_ptr<const PackedRows> lote, std::stop_token parada);
    void termina(std::exception_ptr falha = nullptr);
    // The next batch; nullptr at the end, or once stopped. Rethrows the fetch's failure once the batches before it
    // are taken.
    std::shared_ptr<const PackedRows> tira(std::stop_token parada);

private:
    std::mutex m_mutex;
    std::condition_variable_any m_mudou;
    std::deque<std::shared_ptr<const PackedRows>> m_lotes;
    std::size_t m_capacidade;
    bool m_terminou = false;
    std::exception_ptr m_falha;
};

}  // namespace zorla
