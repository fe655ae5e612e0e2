#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "DMVantero.h"
#include "TempDir.h"
#include "TestDatabase.h"

namespace zorla::test {

// An embedded database of the schema, the connection file beside it and a data module reading that file.
class DatabaseFixture : public ::testing::Test {
protected:
    void SetUp() override {
        db = createTestDatabase(dir.file("zorla.fdb"), false);
        writeIni("[EMPRESA]\nDatabase=" + db + "\n");
        dm = std::make_unique<TFDMExporta>(ini());
    }
    std::string ini() const { return dir.file("dbxconnections.ini"); }
    void writeIni(const std::string& content) { writeFile(ini(), content); }

    // Sales ("S") or purchase ("E") rows of company 1, March 2008.
    ClientDataSet& consulta(const char* tipo, int empresa = 1) {
        using namespace std::chrono;
        dm->ConsultaSaidas(tipo, Date{2008y / 3 / 1}, Date{2008y / 3 / 31}, empresa);
        return dm->CDSSaidas;
    }

    TempDir dir;
    std::string db;
    std::unique_ptr<TFDMExporta> dm;
};

}  // namespace zorla::test
