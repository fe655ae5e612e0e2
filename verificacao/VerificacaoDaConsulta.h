#pragma once

#include <deque>
#include <memory>
#include <utility>

#include "data/ResultTable.h"
#include "verificacao/Problema.h"

namespace zorla {

class ClientDataSet;

// The check's rules over the rows of one query, fed a row at a time by the database, or by a test's rows.
// Where a check's problems go, one at a time as they are found.
class DestinoDosProblemas {
public:
    virtual ~DestinoDosProblemas() = default;
    virtual void achou(Problema p) = 0;
};

// Into a list in memory.
class ProblemasNaLista : public DestinoDosProblemas {
public:
    explicit ProblemasNaLista(std::deque<Problema>& lista) : m_lista(lista) {}
    void achou(Problema p) override { m_lista.push_back(std::move(p)); }

private:
    std::deque<Problema>& m_lista;
};

class VerificacaoDaConsulta : public RowReceiver {
public:
    enum class Consulta { Vendas, Compras, Movimento };

    // `leitor` is the export's dataset of that query: a column it would refuse is an error, and no row is read.
    static std::unique_ptr<VerificacaoDaConsulta> para(Consulta consulta, const ClientDataSet& leitor,
                                                       DestinoDosProblemas& destino);
    // After the last row: what needs every row (a number repeated).
    virtual void termina() {}
};
}  // namespace zorla
