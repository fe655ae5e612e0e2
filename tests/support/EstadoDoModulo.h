#pragma once

#include "data/DMVantero.h"

namespace zorla {

// What the data module keeps to itself, for the tests that set its sources or look at its connection.
struct EstadoDoModulo {
    explicit EstadoDoModulo(TFDMExporta& dm)
        : SQLConnectionZORLA(dm.SQLConnectionZORLA),
          Configurado(dm.Configurado),
          ClientEmpresaLocal(dm.ClientEmpresaLocal),
          QSaidas(dm.QSaidas),
          CDSSaidas(dm.CDSSaidas),
          SQLMovimento(dm.SQLMovimento),
          CDSMovimento(dm.CDSMovimento),
          QCupomA(dm.QCupomA),
          CDSCupomA(dm.CDSCupomA) {}

    SqlConnection& SQLConnectionZORLA;
    bool& Configurado;
    ClientDataSet& ClientEmpresaLocal;
    SqlQuery& QSaidas;
    ClientDataSet& CDSSaidas;
    SqlQuery& SQLMovimento;
    ClientDataSet& CDSMovimento;
    SqlQuery& QCupomA;
    ClientDataSet& CDSCupomA;
};

}  // namespace zorla
