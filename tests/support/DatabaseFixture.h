#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/DMVantero.h"
#include "support/BancoDeTeste.h"
#include "support/EstadoDoModulo.h"

namespace zorla::test {

// The schema alone and a data module reading its connection file.
class DatabaseFixture : public ::testing::Test {
protected:
    void SetUp() override { dm = std::make_unique<TFDMExporta>(ini()); }
    std::string ini() const { return banco.ini(); }
    void writeIni(const std::string& content) { banco.escreveIni(content); }

    // Sales ("S") or purchase ("E") rows of company 1, March 2008.
    ClientDataSet& consulta(const char* tipo, int empresa = 1) {
        using namespace std::chrono;
        dm->ConsultaSaidas(tipo, Date{2008y / 3 / 1}, Date{2008y / 3 / 31}, empresa);
        return EstadoDoModulo(*dm).CDSSaidas;
    }

    BancoDeTeste banco{""};
    const TempDir& dir = banco.dir;
    const std::string& db = banco.db;
    std::unique_ptr<TFDMExporta> dm;
};

}  // namespace zorla::test
