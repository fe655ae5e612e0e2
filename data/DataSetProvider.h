#pragma once

#include <string>

#include "ResultTable.h"
#include "SqlQuery.h"

namespace zorla {

// Hands the whole result of a query to a client dataset.
class DataSetProvider {
public:
    DataSetProvider(std::string name, SqlQuery& query) : m_name(std::move(name)), m_query(query) {}
    const std::string& name() const { return m_name; }
    SqlQuery& query() const { return m_query; }
    void getData(RowReceiver& receiver) const { m_query.fetch(receiver); }

private:
    std::string m_name;
    SqlQuery& m_query;
};

}  // namespace zorla
