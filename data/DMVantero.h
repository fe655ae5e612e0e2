#pragma once

#include <cstdint>
#include <stop_token>
#include <string>

#include "data/ClientDataSet.h"
#include "data/DataSetProvider.h"
#include "data/SqlConnection.h"
#include "data/SqlQuery.h"

namespace zorla {

// The data module: the connection and its query chains. Its state is its own; callers ask for what they need. A
// query takes a stop token: once it is stopped, the statement is cancelled on the server and fails
// (DbError::cancelada).
class TFDMExporta {
public:
    // The connection file lies beside the program unless another one is named.
    explicit TFDMExporta(std::string arquivoDeConexao = ArquivoDeConexaoPadrao());
    TFDMExporta(const TFDMExporta&) = delete;
    TFDMExporta& operator=(const TFDMExporta&) = delete;

    static std::string ArquivoDeConexaoPadrao();
    const std::string& ArquivoDeConexao() const { return m_arquivoDeConexao; }

    // Attaches now, before any query: an attachment opened while another fetches stalls.
    void Conecta();
    // The companies of the connection, read again on every call (a company may have gone); the first call connects.
    ClientDataSet& AbreEmpresas(std::stop_token parada = {});
    // Closes the fiscal rows, sets the six parameters and opens them again: sales "S" or purchases "E".
    ClientDataSet& ConsultaSaidas(const char* tipoMovimento, Date dataInicial, Date dataFinal, std::int64_t empresa,
                                  std::stop_token parada = {});
    // The fiscal rows of the last consult; before any, the fields a consult declares.
    ClientDataSet& Saidas() { return CDSSaidas; }
    const ClientDataSet& Saidas() const { return CDSSaidas; }
    // The period's cash/bank movements of every bank, unfiltered.
    ClientDataSet& ConsultaMovimento(Date dataInicial, Date dataFinal, std::stop_token parada = {});
    ClientDataSet& Movimento() { return CDSMovimento; }
    const ClientDataSet& Movimento() const { return CDSMovimento; }
    // The fiscal or cash/bank result handed to a reader a row at a time; the datasets stay as they are. False when
    // the reader did not want the rows of those columns.
    bool LeSaidas(const char* tipoMovimento, Date dataInicial, Date dataFinal, std::int64_t empresa,
                  RowReceiver& leitor, std::stop_token parada = {});
    bool LeMovimento(Date dataInicial, Date dataFinal, RowReceiver& leitor, std::stop_token parada = {});
    // The fiscal rows as a consult reads them, calculated fields set, handed on a batch at a time and not kept.
    void EntregaSaidas(const char* tipoMovimento, Date dataInicial, Date dataFinal, std::int64_t empresa,
                       std::size_t linhasPorLote, const ClientDataSet::Lote& lote, std::stop_token parada = {});

    void SQLConnectionZORLABeforeConnect();
    void CDSSaidasCalcFields(ClientDataSet& dataSet);
    void CDSCupomACalcFields(ClientDataSet& dataSet);

private:
    friend struct EstadoDoModulo;  // the data module's own tests

    // Each query chain: its statement, its provider and the fields its dataset declares.
    void declaraEmpresas();
    void declaraSaidas();
    void declaraMovimento();
    void declaraCupomA();
    void PreparaSaidas(const char* tipoMovimento, Date dataInicial, Date dataFinal, std::int64_t empresa);
    void PreparaMovimento(Date dataInicial, Date dataFinal);

    SqlConnection SQLConnectionZORLA;
    bool Configurado = false;

    SqlQuery QEmpresaLocal;
    DataSetProvider ProviderEmpresaLocal;
    ClientDataSet ClientEmpresaLocal;

    SqlQuery QSaidas;
    DataSetProvider ProviderSaidas;
    ClientDataSet CDSSaidas;

    SqlQuery SQLMovimento;
    DataSetProvider DSPMovimento;
    ClientDataSet CDSMovimento;

    SqlQuery QCupomA;
    DataSetProvider DSPCupomA;
    ClientDataSet CDSCupomA;

    std::string m_arquivoDeConexao;
    int m_fAgrupamento, m_fTipo;  // fields of the fiscal rows that TIPO reads and sets
};

}  // namespace zorla
