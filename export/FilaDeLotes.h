#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>

namespace zorla {

class PackedRows;

// Enough rows a batch that handing one on costs nothing beside what is done with it; few enough batches waiting that
// the memory stays a few MiB whatever the period holds.
inline constexpr std::size_t kLinhasPorLote = 4096;
inline constexpr std::size_t kLotesEmEspera = 4;

// Batches of rows from a fetch to the writer of a file. At most `capacidade` wait: beyond that the fetch waits for
// the writer, and the memory stays bounded; the writer waits for the next batch. The fetch ends it, with its failure
// when it failed; the writer may give up, and the fetch is then told at its next batch.
class FilaDeLotes {
public:
    explicit FilaDeLotes(std::size_t capacidade) : m_capacidade(capacidade) {}

    // False once the writer gave up: the fetch stops.
    bool poe(std::shared_ptr<const PackedRows> lote);
    void termina(std::exception_ptr falha = nullptr);
    // The next batch; nullptr at the end. Rethrows the fetch's failure once the batches before it are taken.
    std::shared_ptr<const PackedRows> tira();
    void desiste();

private:
    std::mutex m_mutex;
    std::condition_variable m_mudou;
    std::deque<std::shared_ptr<const PackedRows>> m_lotes;
    std::size_t m_capacidade;
    bool m_terminou = false, m_desistiu = false;
    std::exception_ptr m_falha;
};

}  // namespace zorla
