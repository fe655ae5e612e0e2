#include "export/RegistrosFiscais.h"

namespace zorla {

MontadorRegistros::MontadorRegistros(const ClientDataSet& rows)
    : m_saida(LeiauteDaSaida(), rows), m_entrada(LeiauteDaEntrada(), rows) {}

void MontadorRegistros::saida(std::string_view codigoEmpresa, std::string& linha) const {
    linha.clear();
    m_saida.monta(linha, {&codigoEmpresa, 1});
}

void MontadorRegistros::entrada(std::string_view codigoEmpresa, std::string& linha) const {
    linha.clear();
    m_entrada.monta(linha, {&codigoEmpresa, 1});
}

std::string MontaRegistroSaida(const ClientDataSet& row, std::string_view codigoEmpresa) {
    std::string linha;
    MontadorRegistros(row).saida(codigoEmpresa, linha);
    return linha;
}

std::string MontaRegistroEntrada(const ClientDataSet& row, std::string_view codigoEmpresa) {
    std::string linha;
    MontadorRegistros(row).entrada(codigoEmpresa, linha);
    return linha;
}

}  // namespace zorla
