#pragma once

#include <string>

// Embedded Firebird databases for the integration tests, built with the same
// script and schema as the demo database. Needs isql-fb (or $ZORLA_ISQL) and
// the compile definitions ZORLA_SOURCE_DIR and ZORLA_GERA_DADOS as string
// literals: the source tree and the path of zorla-gera-dados.

namespace zorla::test {

// Creates the database file at path: schema only, or schema plus the default
// demo data. A file already at path (left by an earlier run) is removed
// first. Returns path. Throws std::runtime_error carrying isql's output.
std::string createTestDatabase(const std::string& path, bool withDemoData);

// Runs statements written in code page 1252 against the database, embedded,
// as SYSDBA, stopping at the first error; everything is committed at the
// end. Every statement must end with ";". Throws std::runtime_error carrying
// isql's output.
void runSql(const std::string& dbPath, const std::string& cp1252Script);

}  // namespace zorla::test
