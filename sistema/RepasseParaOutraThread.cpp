#include "sistema/RepasseParaOutraThread.h"

#include <cstdint>
#include <utility>

#include "data/PackedRows.h"
#include "sistema/PrioridadeDaThread.h"

namespace zorla {

RepasseParaOutraThread::RepasseParaOutraThread(RowReceiver& destino)
    : m_destino(destino), m_fila(kLotesEmEspera), m_thread([this] { recebe(); }) {}

RepasseParaOutraThread::~RepasseParaOutraThread() { encerra(); }

bool RepasseParaOutraThread::columns(const std::vector<ColumnInfo>& columns) {
    if (!m_destino.columns(columns)) return false;
    m_tipos.clear();
    // A column of a type nobody reads comes as nulls only.
    for (const ColumnInfo& c : columns) m_tipos.push_back(c.type == FieldType::Unsupported ? FieldType::Text : c.type);
    m_lote = std::make_shared<PackedRows>(m_tipos);
    return true;
}

void RepasseParaOutraThread::row(std::span<const Cell> cells) {
    m_lote->append(cells);
    if (m_lote->size() >= kLinhasPorLote) entrega();
}

void RepasseParaOutraThread::entrega() {
    if (!m_fila.poe(std::exchange(m_lote, std::make_shared<PackedRows>(m_tipos)), m_desistiu.get_token()))
        std::rethrow_exception(m_falha);
}

void RepasseParaOutraThread::termina() {
    if (m_lote && m_lote->size() > 0) entrega();
    m_fila.termina();
    m_thread.join();
    if (m_falha) std::rethrow_exception(m_falha);
}

void RepasseParaOutraThread::encerra() {
    if (!m_thread.joinable()) return;
    m_desistiu.request_stop();
    m_thread.join();
}

void RepasseParaOutraThread::recebe() {
    BaixaPrioridadeDaThread();
    try {
        std::vector<Cell> celulas;
        std::vector<std::uint32_t> posicoes;
        while (const auto lote = m_fila.tira(m_desistiu.get_token())) {
            celulas.resize(lote->fieldCount());
            posicoes.resize(lote->fieldCount());
            for (std::size_t r = 0; r < lote->size(); ++r) {
                lote->locate(r, posicoes.data());
                for (std::size_t f = 0; f < celulas.size(); ++f) celulas[f] = lote->cellAt(r, posicoes.data(), f);
                m_destino.row(celulas);
            }
        }
    } catch (...) {
        m_falha = std::current_exception();
        m_desistiu.request_stop();
    }
}

}  // namespace zorla
