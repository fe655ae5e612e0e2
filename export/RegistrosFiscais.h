#pragma once

#include <string>
#include <string_view>

namespace zorla {

class ClientDataSet;

// Fiscal book records of the current row of a fiscal movement dataset, without line end.
// An amount or rate whose digits do not fit its field fails the record (ExportError).
std::string MontaRegistroSaida(const ClientDataSet& row, std::string_view codigoEmpresa);    // 547 characters
std::string MontaRegistroEntrada(const ClientDataSet& row, std::string_view codigoEmpresa);  // 251 characters

}  // namespace zorla
