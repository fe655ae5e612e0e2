#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ClientDataSet.h"
#include "DataSetProvider.h"
#include "DataSource.h"
#include "SqlConnection.h"
#include "SqlQuery.h"

namespace zorla {

// The data module: the connection, its query chains and the formatting operations.
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
    DataSource DSEmpresaLocal;

    SqlQuery QSaidas;
    DataSetProvider ProviderSaidas;
    ClientDataSet CDSSaidas;
    DataSource DSSaidas;
    void CDSSaidasCalcFields(ClientDataSet& dataSet);
    // Closes the fiscal rows, sets the six parameters and opens them again: sales "S" or purchases "E".
    void ConsultaSaidas(const char* tipoMovimento, Date dataInicial, Date dataFinal, std::int64_t empresa);

    SqlQuery SQLMovimento;
    DataSetProvider DSPMovimento;
    ClientDataSet CDSMovimento;
    DataSource DSMovimento;

    SqlQuery QCupomA;
    DataSetProvider DSPCupomA;
    ClientDataSet CDSCupomA;
    DataSource DSCupomA;
    void CDSCupomACalcFields(ClientDataSet& dataSet);

    static std::string Copies(char fill, std::uint8_t count);
    static std::string PadLeft(std::string_view text, std::uint8_t width, char fill);
    static std::string PadRight(std::string_view text, std::uint8_t width, char fill);
    static std::string AjustaValor(std::string_view text);
    static std::string RetiraPontuacao(std::string_view text);
    static std::string RetiraCaracteresEspeciais(std::string_view text);
    static std::string InverteData(const Date& date);
    static Date PrimeiroDiaMes(const Date& date, bool fimDeSemana);
    static Date UltimoDiaMes(const Date& date, bool fimDeSemana);

private:
    std::string m_connectionFile;
};

}  // namespace zorla
