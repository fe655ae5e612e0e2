#pragma once

#include <cstdint>
#include <string>

#include "data/ClientDataSet.h"
#include "data/DataSetProvider.h"
#include "data/SqlConnection.h"
#include "data/SqlQuery.h"

namespace zorla {

// The data module: the connection and its query chains.
class TFDMExporta {
public:
    // The connection file lies beside the program unless another one is named.
    explicit TFDMExporta(std::string connectionFile = defaultConnectionFile());
    TFDMExporta(const TFDMExporta&) = delete;
    TFDMExporta& operator=(const TFDMExporta&) = delete;

    static std::string defaultConnectionFile();
    const std::string& connectionFile() const { return m_connectionFile; }

    SqlConnection SQLConnectionZORLA;
    bool Configurado = false;
    void SQLConnectionZORLABeforeConnect();

    SqlQuery QEmpresaLocal;
    DataSetProvider ProviderEmpresaLocal;
    ClientDataSet ClientEmpresaLocal;

    SqlQuery QSaidas;
    DataSetProvider ProviderSaidas;
    ClientDataSet CDSSaidas;
    void CDSSaidasCalcFields(ClientDataSet& dataSet);
    // Closes the fiscal rows, sets the six parameters and opens them again: sales "S" or purchases "E".
    void ConsultaSaidas(const char* tipoMovimento, Date dataInicial, Date dataFinal, std::int64_t empresa);
    // Sets the six parameters of the fiscal query, for any reader of it.
    void PreparaSaidas(const char* tipoMovimento, Date dataInicial, Date dataFinal, std::int64_t empresa);
    // Sets the three parameters of the cash/bank query: every bank, the period.
    void PreparaMovimento(Date dataInicial, Date dataFinal);

    SqlQuery SQLMovimento;
    DataSetProvider DSPMovimento;
    ClientDataSet CDSMovimento;

    SqlQuery QCupomA;
    DataSetProvider DSPCupomA;
    ClientDataSet CDSCupomA;
    void CDSCupomACalcFields(ClientDataSet& dataSet);

private:
    std::string m_connectionFile;
    int m_fAgrupamento, m_fTipo;  // fields of the fiscal rows that TIPO reads and sets
};

}  // namespace zorla
