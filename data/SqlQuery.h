#pragma once

#include <stop_token>
#include <string>
#include <vector>

#include "base/Value.h"
#include "data/NamedParams.h"
#include "data/ResultTable.h"

namespace zorla {

class SqlConnection;

struct SqlParam {
    std::string name;
    Value value;  // unset: null
};

// A selection with named parameters (":NAME") on the connection.
class SqlQuery {
public:
    SqlQuery(std::string name, SqlConnection& connection);

    const std::string& name() const { return m_name; }
    void setSql(std::vector<std::string> lines);

    // Parameters in the order of their first appearance in the text.
    const std::vector<SqlParam>& params() const { return m_params; }
    SqlParam& paramByName(const std::string& name);

    // Runs the statement in its own read-only transaction and hands over every row; false when the receiver did not
    // want the rows of those columns. A stop of the token cancels it on the server: it fails (DbError::cancelada).
    bool fetch(RowReceiver& receiver, std::stop_token parada = {});
    ResultTable fetchAll(std::stop_token parada = {});

private:
    std::string m_name;
    SqlConnection& m_connection;
    PositionalSql m_positional;  // the text as Firebird takes it, made once per setSql
    std::vector<SqlParam> m_params;
};

}  // namespace zorla
