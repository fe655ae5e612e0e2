#pragma once

#include <string>

#include "data/ResultTable.h"
#include "data/SqlQuery.h"

namespace zorla {

// Hands the whole result of a query to a client dataset.
class DataSetProvider {
public:
    explicit DataSetProvider(SqlQuery& query) : m_query(query) {}
    void getData(RowReceiver& receiver, std::stop_token parada) const { m_query.fetch(receiver, std::move(parada)); }

private:
    SqlQuery& m_query;
};

}  // namespace zorla
