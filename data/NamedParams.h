#pragma once

#include <string>
#include <vector>

namespace zorla {

struct PositionalSql {
    std::string sql;                 // ":NAME" replaced by "?"
    std::vector<std::string> names;  // one per "?", in order; a name used twice appears twice
};

// Firebird knows only positional parameters. String literals, quoted identifiers and comments are left alone.
// Not for PSQL bodies, where ":var" is a variable.
PositionalSql toPositional(const std::string& sql);

}  // namespace zorla
