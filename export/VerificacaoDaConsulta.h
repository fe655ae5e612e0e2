#pragma once

#include <deque>
#include <memory>

#include "data/ResultTable.h"
#include "export/Problema.h"

namespace zorla {

class ClientDataSet;

// The check's rules over the rows of one query, fed a row at a time by the database, or by a test's rows.
class VerificacaoDaConsulta : public RowReceiver {
public:
    enum class Consulta { Vendas, Compras, Movimento };

    // `leitor` is the export's dataset of that query: a column it would refuse is an error, and no row is read.
    static std::unique_ptr<VerificacaoDaConsulta> para(Consulta consulta, const ClientDataSet& leitor,
                                                       std::deque<Problema>& problemas);
    // After the last row: what needs every row (a number repeated).
    virtual void termina() {}
};

// Thrown by columns() once a refused column has been reported: the rows would tell nothing more.
struct ColunasRecusadas {};

}  // namespace zorla
