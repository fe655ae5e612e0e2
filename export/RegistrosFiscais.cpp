#include "export/RegistrosFiscais.h"

#include "export/Campos.h"
#include "data/ClientDataSet.h"
#include "base/Formatacao.h"

namespace zorla {

namespace {

class Registro {
public:
    Registro(const ClientDataSet& row, std::size_t length) : m_row(row) {
        m_out.reserve(length);
        m_documento = row.fieldByName("NUMERODOC").asString();
    }

    Registro& constante(std::string_view text) {
        m_out += text;
        return *this;
    }
    Registro& brancos(std::uint8_t n) { return constante(Copies(' ', n)); }
    Registro& zeros(std::uint8_t n) { return constante(Copies('0', n)); }
    Registro& texto(std::string_view field, std::uint8_t width) {
        return constante(PadLeft(m_row.fieldByName(field).asString(), width, ' '));
    }
    Registro& valor(std::string_view field) {
        return constante(CampoNumerico(m_row.fieldByName(field).asDecimal(), 11, '0', m_documento, field));
    }
    Registro& aliquota() {
        FieldRef f = m_row.fieldByName("ALIQUOTAICMS");
        if (f.isNull()) return brancos(5);
        return constante(CampoNumerico(f.asDecimal(), 5, ' ', m_documento, "ALIQUOTAICMS"));
    }
    // "NF" in capitals becomes two blanks, so the number keeps its length.
    Registro& documento() {
        std::string doc = m_documento;
        for (std::size_t p = doc.find("NF"); p != std::string::npos; p = doc.find("NF", p + 2)) doc.replace(p, 2, "  ");
        return constante(PadLeft(doc, 6, ' '));
    }
    Registro& cnpjCpf() {
        std::string id = m_row.fieldByName("CNPJ").asString();
        // A CNPJ column of blanks holds no CNPJ: the CPF is taken then.
        if (id.find_first_not_of(' ') == std::string::npos) id = m_row.fieldByName("CPF").asString();
        std::string clean;
        for (char c : id)
            if (c != '.' && c != '-') clean += c;
        return constante(PadLeft(clean, 14, ' '));
    }
    Registro& empresa(std::string_view codigo) { return constante(PadLeft(codigo, 4, ' ')); }
    Registro& anoMesDia(std::string_view field) { return constante(DataAnoMesDia(m_row.fieldByName(field).asDate())); }
    Registro& diaMesAno(std::string_view field) { return constante(DataDiaMesAno(m_row.fieldByName(field).asDate())); }

    std::string pronto() && { return SemControles(std::move(m_out)); }

private:
    const ClientDataSet& m_row;
    std::string m_documento;
    std::string m_out;
};

}  // namespace

std::string MontaRegistroSaida(const ClientDataSet& row, std::string_view codigoEmpresa) {
    Registro r(row, 547);
    r.constante("S")
        .empresa(codigoEmpresa)
        .anoMesDia("DATAMOVIMENTO")
        .documento()
        .documento()
        .texto("SERIEDOC", 3)
        .texto("TIPO", 4)
        .brancos(1)
        .brancos(3)
        .texto("CFOP", 4)
        .brancos(6)
        .brancos(7)
        .aliquota()
        .diaMesAno("DATADOCUMENTO")
        .brancos(3)
        .texto("OBSERVACAO", 100)
        .texto("ESTADOCLIENTE", 2)
        .texto("ESTADO", 2)
        .texto("CIDADECLIENTE", 7)
        .cnpjCpf()
        .valor("VALOR")
        .valor("BASEICMS")
        .valor("VALORICMS")
        .valor("ISENTO")
        .valor("OUTROS")
        .zeros(11)
        .valor("BASEIPI")
        .valor("VALORIPI")
        .zeros(11)
        .zeros(11)
        .zeros(11)
        .valor("BASEICMS")
        .zeros(11)
        .zeros(11)
        .brancos(197)
        .brancos(2);
    return std::move(r).pronto();
}

std::string MontaRegistroEntrada(const ClientDataSet& row, std::string_view codigoEmpresa) {
    Registro r(row, 251);
    r.constante("E")
        .empresa(codigoEmpresa)
        .anoMesDia("DATAMOVIMENTO")
        .cnpjCpf()
        .documento()
        .texto("SERIEDOC", 3)
        .texto("TIPO", 4)
        .texto("CFOP", 4)
        .brancos(6)
        .brancos(7)
        .aliquota()
        .diaMesAno("DATADOCUMENTO")
        .brancos(7)
        .texto("OBSERVACAO", 100)
        .texto("ESTADO", 2)
        .brancos(2)
        .brancos(4)
        .valor("VALOR")
        .valor("BASEICMS")
        .valor("VALORICMS")
        .valor("ISENTO")
        .valor("OUTROS")
        .zeros(11);
    return std::move(r).pronto();
}

}  // namespace zorla
