#include "export/RegistrosFiscais.h"

#include "data/ClientDataSet.h"
#include "export/Campos.h"

namespace zorla {

namespace {

// The record's fields drawn from one row.
class Registro : public Campos {
public:
    Registro(const ClientDataSet& rows, std::string& linha, int numeroDoc) : Campos(linha), m_rows(rows) {
        m_documento = FieldRef(rows, numeroDoc).text();
    }

    void texto(int field, std::size_t width) { Campos::texto(FieldRef(m_rows, field).text(), width); }
    void valor(int field) {
        const FieldRef f(m_rows, field);
        numero(f.asDecimal(), 11, '0', m_documento, f.def().name);
    }
    void aliquota(int field) {
        const FieldRef f(m_rows, field);
        if (f.isNull()) return brancos(5);
        numero(f.asDecimal(), 5, ' ', m_documento, "ALIQUOTAICMS");
    }
    // "NF" in capitals becomes two blanks, so the number keeps its length; an "NF" across the cut counts too.
    void documento() {
        char doc[7];
        const std::size_t n = std::min(m_documento.size(), sizeof doc);
        m_documento.copy(doc, n);
        for (std::size_t p = 0; p + 1 < n; ++p)
            if (doc[p] == 'N' && doc[p + 1] == 'F') doc[p] = doc[p + 1] = ' ', ++p;
        Campos::texto(std::string_view(doc, n), 6);
    }
    // The CNPJ, or the CPF when the CNPJ is empty or blanks only, without "." and "-".
    void cnpjCpf(int cnpj, int cpf) {
        std::string_view id = FieldRef(m_rows, cnpj).text();
        if (id.find_first_not_of(' ') == std::string_view::npos) id = FieldRef(m_rows, cpf).text();
        char limpo[14];
        std::size_t n = 0;
        for (std::size_t i = 0; i < id.size() && n < sizeof limpo; ++i)
            if (id[i] != '.' && id[i] != '-') limpo[n++] = id[i];
        Campos::texto(std::string_view(limpo, n), 14);
    }
    void anoMesDia(int field) { Campos::anoMesDia(FieldRef(m_rows, field).asDate()); }
    void diaMesAno(int field) { Campos::diaMesAno(FieldRef(m_rows, field).asDate()); }

private:
    const ClientDataSet& m_rows;
    std::string_view m_documento;
};

}  // namespace

MontadorRegistros::MontadorRegistros(const ClientDataSet& rows)
    : m_rows(rows),
      m_dataMovimento(rows.fieldIndex("DATAMOVIMENTO")),
      m_numeroDoc(rows.fieldIndex("NUMERODOC")),
      m_serieDoc(rows.fieldIndex("SERIEDOC")),
      m_tipo(rows.fieldIndex("TIPO")),
      m_cfop(rows.fieldIndex("CFOP")),
      m_aliquota(rows.fieldIndex("ALIQUOTAICMS")),
      m_dataDocumento(rows.fieldIndex("DATADOCUMENTO")),
      m_observacao(rows.fieldIndex("OBSERVACAO")),
      m_estadoCliente(rows.fieldIndex("ESTADOCLIENTE")),
      m_estado(rows.fieldIndex("ESTADO")),
      m_cidadeCliente(rows.fieldIndex("CIDADECLIENTE")),
      m_cnpj(rows.fieldIndex("CNPJ")),
      m_cpf(rows.fieldIndex("CPF")),
      m_valor(rows.fieldIndex("VALOR")),
      m_baseIcms(rows.fieldIndex("BASEICMS")),
      m_valorIcms(rows.fieldIndex("VALORICMS")),
      m_isento(rows.fieldIndex("ISENTO")),
      m_outros(rows.fieldIndex("OUTROS")),
      m_baseIpi(rows.fieldIndex("BASEIPI")),
      m_valorIpi(rows.fieldIndex("VALORIPI")) {}

void MontadorRegistros::saida(std::string_view codigoEmpresa, std::string& linha) const {
    linha.clear();
    Registro r(m_rows, linha, m_numeroDoc);
    r.constante("S");
    r.Campos::texto(codigoEmpresa, 4);
    r.anoMesDia(m_dataMovimento);
    r.documento();
    r.documento();
    r.texto(m_serieDoc, 3);
    r.texto(m_tipo, 4);
    r.brancos(1 + 3);
    r.texto(m_cfop, 4);
    r.brancos(6 + 7);
    r.aliquota(m_aliquota);
    r.diaMesAno(m_dataDocumento);
    r.brancos(3);
    r.texto(m_observacao, 100);
    r.texto(m_estadoCliente, 2);
    r.texto(m_estado, 2);
    r.texto(m_cidadeCliente, 7);
    r.cnpjCpf(m_cnpj, m_cpf);
    for (int f : {m_valor, m_baseIcms, m_valorIcms, m_isento, m_outros}) r.valor(f);
    r.zeros(11);
    r.valor(m_baseIpi);
    r.valor(m_valorIpi);
    r.zeros(11 + 11 + 11);
    r.valor(m_baseIcms);
    r.zeros(11 + 11);
    r.brancos(197 + 2);
}

void MontadorRegistros::entrada(std::string_view codigoEmpresa, std::string& linha) const {
    linha.clear();
    Registro r(m_rows, linha, m_numeroDoc);
    r.constante("E");
    r.Campos::texto(codigoEmpresa, 4);
    r.anoMesDia(m_dataMovimento);
    r.cnpjCpf(m_cnpj, m_cpf);
    r.documento();
    r.texto(m_serieDoc, 3);
    r.texto(m_tipo, 4);
    r.texto(m_cfop, 4);
    r.brancos(6 + 7);
    r.aliquota(m_aliquota);
    r.diaMesAno(m_dataDocumento);
    r.brancos(7);
    r.texto(m_observacao, 100);
    r.texto(m_estado, 2);
    r.brancos(2 + 4);
    for (int f : {m_valor, m_baseIcms, m_valorIcms, m_isento, m_outros}) r.valor(f);
    r.zeros(11);
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
