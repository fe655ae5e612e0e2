#pragma once

#include <string>
#include <string_view>

#include "export/MontadorDoLeiaute.h"

namespace zorla {

class ClientDataSet;

// The fiscal book records of the rows of one opening of a fiscal movement dataset. The positions of the fields
// are found once, when it is made; each record is then built into a line the caller keeps.
// An amount or rate whose digits do not fit its field fails the record (ValorForaDoLeiaute).
class MontadorRegistros {
public:
    explicit MontadorRegistros(const ClientDataSet& rows);
    // The record of the current row, without line end, in place of what the line held.
    void saida(std::string_view codigoEmpresa, std::string& linha) const;    // 547 characters
    void entrada(std::string_view codigoEmpresa, std::string& linha) const;  // 251 characters

private:
    MontadorDoLeiaute m_saida, m_entrada;
};

// One record of the current row, for a single use.
std::string MontaRegistroSaida(const ClientDataSet& row, std::string_view codigoEmpresa);
std::string MontaRegistroEntrada(const ClientDataSet& row, std::string_view codigoEmpresa);

}  // namespace zorla
