#pragma once

#include <exception>
#include <memory>
#include <span>
#include <stop_token>
#include <thread>
#include <vector>

#include "data/ResultTable.h"
#include "sistema/FilaDeLotes.h"

namespace zorla {

class PackedRows;

// Rows of a fetch handed on, a few batches at a time, to a receiver on a thread of its own: the fetch waits for what
// the receiver does with them only when it is a few batches ahead.
class RepasseParaOutraThread : public RowReceiver {
public:
    explicit RepasseParaOutraThread(RowReceiver& destino);
    ~RepasseParaOutraThread() override;  // a fetch that failed: the receiver stops where it is
    RepasseParaOutraThread(const RepasseParaOutraThread&) = delete;
    RepasseParaOutraThread& operator=(const RepasseParaOutraThread&) = delete;

    // At once, on the fetch's thread: columns the receiver refuses stop the fetch before any row.
    bool columns(const std::vector<ColumnInfo>& columns) override;
    // Throws the receiver's failure, once it failed, so that the fetch stops.
    void row(std::span<const Cell> cells) override;
    // After the last row: returns when the receiver has had every row; rethrows its failure.
    void termina();

private:
    void entrega();
    void recebe();
    void encerra();

    RowReceiver& m_destino;
    FilaDeLotes m_fila;
    std::vector<FieldType> m_tipos;
    std::shared_ptr<PackedRows> m_lote;
    std::stop_source m_desistiu;  // the receiver failed, or the fetch did: neither side waits for the other
    std::exception_ptr m_falha;   // the receiver's, written before it gives up
    std::thread m_thread;
};

}  // namespace zorla
