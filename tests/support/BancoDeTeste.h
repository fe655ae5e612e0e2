#pragma once

#include <string>

#include "support/TempDir.h"
#include "support/TestDatabase.h"

namespace zorla::test {

// An embedded database of the schema holding the given rows, and the connection file naming it, in a folder of the
// test's own: what the engine, window and command-line tests run on.
class BancoDeTeste {
public:
    explicit BancoDeTeste(const std::string& dados) { recria(dados); }
    // The schema anew with these rows; the embedded engine must not hold the file open.
    void recria(const std::string& dados) {
        db = createTestDatabase(dir.file("zorla.fdb"), false);
        if (!dados.empty()) runSql(db, dados);
        escreveIni("[EMPRESA]\nDatabase=" + db + "\n");
    }
    std::string ini() const { return dir.file("dbxconnections.ini"); }
    void escreveIni(const std::string& conteudo) const { writeFile(ini(), conteudo); }

    TempDir dir;
    std::string db;
};

}  // namespace zorla::test
