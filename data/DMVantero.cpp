#include "data/DMVantero.h"

#include <algorithm>
#include <span>

#include "data/FbClient.h"
#include "data/ProgramFolder.h"

namespace zorla {

namespace {

constexpr const char* kValor = "#,##0.00";
using T = FieldType;

// A field as a dataset declares it: one a line in the tables below, in the order of the result.
struct Declarado {
    const char* nome;
    FieldType tipo;
    int tamanho = 0;    // text: characters
    bool fixo = false;  // text: a CHAR column
    const char* formato = "";
    bool calculado = false;
};

// clang-format off: one field a line

constexpr Declarado kEmpresas[] = {
    {"CODEMPRESA", T::Integer},
    {"FANTASIA", T::Text, 50},
    {"RAZAOSOCIAL", T::Text, 50},
    {"ENDERECO", T::Text, 40},
    {"NUMEROPREDIO", T::Text, 5},
    {"BAIRRO", T::Text, 30},
    {"CEP", T::Text, 8, true},
    {"DDD", T::Text, 3, true},
    {"TELEFONE", T::Text, 8, true},
    {"CONTATO", T::Text, 20},
    {"DDG", T::Text, 12, true},
    {"CNPJ", T::Text, 14, true},
    {"INSCRICAOESTADUAL", T::Text, 15},
    {"CPF", T::Text, 11, true},
    {"SITE", T::Text, 50},
    {"EMAIL", T::Text, 60},
    {"FAX", T::Text, 8, true},
    {"STATUS", T::Text, 1, true},
    {"INSCRICAOMUNICIPAL", T::Text, 12},
    {"ESTAEMPRESA", T::Text, 1, true},
    {"CONTROLADORA", T::Text, 1, true},
    {"REGIMEFISCAL", T::Text, 1, true},
    {"CUSTOFIXO", T::Decimal},
    {"IMPOSTOSOBREESPECIAL", T::Text, 1, true},
    {"ISS", T::Decimal},
    {"ICMSESTADUAL", T::Decimal},
    {"ORDEMPRECO", T::Text, 4, true},
    {"MESESCURVAABC", T::Integer},
    {"FREQCURVAABC", T::Text, 3, true},
    {"PERCCURVAA", T::Integer},
    {"PERCCURVAB", T::Integer},
    {"PERCCURVAC", T::Integer},
    {"DATAULTIMACURVA", T::Date},
    {"CODCIDADE", T::Integer},
    {"DIFERENCAHORARIO", T::Integer},
    {"TIPOEMPRESA", T::Text, 1, true},
    {"CODCADASTRO", T::Text, 8},
    {"REGISTRO", T::Text, 20},
    {"CHAVE", T::Text, 20},
    {"NOMECIDADE", T::Text, 50},
    {"ESTADO", T::Text, 2},
};

constexpr Declarado kSaidas[] = {
    {"CODMOVESTOQUE", T::Text, 10},
    {"DATAMOVIMENTO", T::Date},
    {"MOVIMENTO", T::Text, 1, true},
    {"AGRUPAMENTO", T::Text, 3, true},
    {"NUMERODOC", T::Text, 10},
    {"SERIEDOC", T::Text, 3, true},
    {"CODCADASTRO", T::Text, 8},
    {"FAVORECIDO", T::Text, 50},
    {"OPERACAO", T::Text, 1, true},
    {"VALOR", T::Decimal, 0, false, kValor},
    {"CFOP", T::Text, 4, true},
    {"BASEICMS", T::Decimal, 0, false, kValor},
    {"ALIQUOTAICMS", T::Decimal, 0, false, kValor},
    {"VALORICMS", T::Decimal, 0, false, kValor},
    {"VALORICMSSUBST", T::Decimal, 0, false, kValor},
    {"ISENTO", T::Decimal},
    {"VALORIPI", T::Decimal, 0, false, kValor},
    {"BASEIPI", T::Decimal, 0, false, kValor},
    {"VALORISS", T::Decimal, 0, false, kValor},
    {"BASEISS", T::Decimal, 0, false, kValor},
    {"OUTROS", T::Decimal, 0, false, kValor},
    {"ESPECIE", T::Text, 3},
    {"DATADOCUMENTO", T::Date},
    {"ESTADO", T::Text, 2},
    {"BASEICMSSUBST", T::Decimal, 0, false, kValor},
    {"ALIQUOTAIPI", T::Decimal, 0, false, kValor},
    {"SITUACAO", T::Text, 10},
    {"FRETE", T::Decimal},
    {"DDD", T::Text, 3, true},
    {"DATAEMISSAORG", T::Date},
    {"ORGAOEMISSOR", T::Text, 6},
    {"RG", T::Text, 12},
    {"INSCRICAOMUNICIPAL", T::Text, 12},
    {"INSCRICAOESTADUAL", T::Text, 20},
    {"SITE", T::Text, 50},
    {"EMAIL", T::Text, 60},
    {"FAX", T::Text, 8, true},
    {"TELEFONE", T::Text, 8, true},
    {"SEXO", T::Text, 1, true},
    {"DATANASCIMENTO", T::Date},
    {"ESTADOCLIENTE", T::Text, 2, true},
    {"CIDADECLIENTE", T::Text, 50},
    {"BAIRRO", T::Text, 30},
    {"CEP", T::Text, 8, true},
    {"COMPLEMENTO", T::Text, 15},
    {"NUMERO", T::Text, 5},
    {"ENDERECOCLIENTE", T::Text, 40},
    {"NOMEFANTASIACLIENTE", T::Text, 50},
    {"NOMECLIENTE", T::Text, 50},
    {"CNPJ", T::Text, 14, true},
    {"CPF", T::Text, 11, true},
    {"CIFFOB", T::Text, 1, true},
    {"OBSERVACAO", T::Text, 240},
    {"LANCAMENTO", T::Text, 10},
    {"VALORPRODUTOS", T::Decimal},
    {"DOCCONSUMIDOR", T::Text, 14},
    {"TIPO", T::Text, 2, false, "", true},
    {"VALORSERVICOS", T::Decimal},
    {"VALORSEGURO", T::Decimal},
    {"VALORDESPESASACESSORIAS", T::Decimal},
    {"CODIGOCIDADEIBGE", T::Text, 7},
    {"CODIGOPAISIBGE", T::Text, 4},
    {"DESCONTO", T::Decimal},
    {"MODELODOC", T::Text, 2, true},
    {"MODELONFTERCEIRO", T::Text, 2, true},
};

constexpr Declarado kMovimento[] = {
    {"DATA", T::Date},
    {"TIPO_LANCAMENTO", T::Text, 1, true},
    {"PARCELA", T::Integer},
    {"VALOR", T::Decimal},
    {"HISTORICO", T::Text, 50},
    {"DOCUMENTO", T::Text, 11},
    {"CODCADASTRO", T::Text, 8},
    {"CODBANCO", T::Text, 8},
    {"CREDORA", T::Text, 15},
    {"DEVEDORA", T::Text, 15},
    {"QTDE_PARCELA", T::Integer},
    {"OPERACAO", T::Text, 1, true},
    {"NOMECREDOR", T::Text, 50},
    {"NOMEDEVEDOR", T::Text, 50},
    {"CENTROCUSTO", T::Integer},
    {"LOCAL_CCUSTO", T::Text, 1, true},
};

constexpr Declarado kCupomA[] = {
    {"TOTALIZADOR", T::Text, 7},
    {"VALOR", T::Decimal},
    {"SituacaoTributaria", T::Text, 4, false, "", true},
};

// clang-format on

void declare(ClientDataSet& ds, std::span<const Declarado> campos) {
    for (const Declarado& c : campos) {
        FieldDef f;
        f.name = c.nome;
        f.type = c.tipo;
        f.size = c.tamanho;
        f.fixedWidth = c.fixo;
        f.displayFormat = c.formato;
        f.calculated = c.calculado;
        ds.addField(std::move(f));
    }
}

}  // namespace

std::string TFDMExporta::ArquivoDeConexaoPadrao() { return programFolder() + "dbxconnections.ini"; }

TFDMExporta::TFDMExporta(std::string arquivoDeConexao)
    : QEmpresaLocal("QEmpresaLocal", SQLConnectionZORLA),
      ProviderEmpresaLocal(QEmpresaLocal),
      ClientEmpresaLocal("ClientEmpresaLocal"),
      QSaidas("QSaidas", SQLConnectionZORLA),
      ProviderSaidas(QSaidas),
      CDSSaidas("CDSSaidas"),
      SQLMovimento("SQLMovimento", SQLConnectionZORLA),
      DSPMovimento(SQLMovimento),
      CDSMovimento("CDSMovimento"),
      QCupomA("QCupomA", SQLConnectionZORLA),
      DSPCupomA(QCupomA),
      CDSCupomA("CDSCupomA"),
      m_arquivoDeConexao(std::move(arquivoDeConexao)) {
    SQLConnectionZORLA.ConnectionName = "EMPRESA";
    SQLConnectionZORLA.VendorLib = FbClient::defaultLibraryName();
    // Every installation names its own server and file in the connection file.
    SQLConnectionZORLA.Params = ParamLines({
        "DriverName=Interbase",
        "BlobSize=-1",
        "CommitRetain=False",
        "Database=127.0.0.1/3052:/var/lib/zorla/ZORLA.FDB",
        "ErrorResourceFile=",
        "LocaleCode=0000",
        "Password=qubertan",
        "RoleName=RoleName",
        "ServerCharSet=",
        "SQLDialect=3",
        "Interbase TransIsolation=ReadCommited",
        "User_Name=ZORLA",
        "WaitOnLocks=True",
        "Trim Char=False",
    });
    SQLConnectionZORLA.BeforeConnect = [this] { SQLConnectionZORLABeforeConnect(); };
    declaraEmpresas();
    declaraSaidas();
    declaraMovimento();
    declaraCupomA();
}

void TFDMExporta::declaraEmpresas() {
    QEmpresaLocal.setSql({
        "SELECT E.*, C.NOMECIDADE, C.ESTADO",
        "FROM EMPRESA E JOIN CIDADE C ON (E.CODCIDADE=C.CODCIDADE)",
        "ORDER BY E.CODEMPRESA",
    });
    ClientEmpresaLocal.setProvider(ProviderEmpresaLocal);
    declare(ClientEmpresaLocal, kEmpresas);
}

void TFDMExporta::declaraSaidas() {
    QSaidas.setSql({
        "SELECT *",
        "FROM RELATORIOAPURACAOICMS(:TIPODOCUMENTO, :TIPOMOVIMENTO, :DATAINICIAL, :DATAFINAL, :EMPRESA, :ATIVO)",
        "ORDER BY DATAMOVIMENTO, AGRUPAMENTO, NUMERODOC",
    });
    CDSSaidas.setProvider(ProviderSaidas);
    declare(CDSSaidas, kSaidas);
    m_fAgrupamento = CDSSaidas.fieldIndex("AGRUPAMENTO");
    m_fTipo = CDSSaidas.fieldIndex("TIPO");
    CDSSaidas.OnCalcFields = [this](ClientDataSet& ds) { CDSSaidasCalcFields(ds); };
}

void TFDMExporta::declaraMovimento() {
    SQLMovimento.setSql({
        "SELECT *",
        "FROM SP_EXPORTAMOVIMENTO_BANCARIO(:BANCO, :DATA_INICIAL, :DATA_FINAL)",
    });
    CDSMovimento.setProvider(DSPMovimento);
    declare(CDSMovimento, kMovimento);
}

void TFDMExporta::declaraCupomA() {
    QCupomA.setSql({
        "SELECT T.TOTALIZADOR, T.VALOR",
        "FROM ECF_TOTALIZADORES T",
        "WHERE T.CODREDUCAOZ = :CODREDUCAO",
        " AND T.VALOR > 0 AND T.TOTALIZADOR NOT IN('AT', 'Can-S', 'OPNF')",
    });
    CDSCupomA.setProvider(DSPCupomA);
    declare(CDSCupomA, kCupomA);
    CDSCupomA.OnCalcFields = [this](ClientDataSet& ds) { CDSCupomACalcFields(ds); };
}

void TFDMExporta::Conecta() { SQLConnectionZORLA.open(); }

void TFDMExporta::SQLConnectionZORLABeforeConnect() {
    if (Configurado) return;
    SQLConnectionZORLA.close();
    SQLConnectionZORLA.Params.clear();
    SQLConnectionZORLA.ConnectionName = "EMPRESA";
    SQLConnectionZORLA.loadParamsFromIniFile(m_arquivoDeConexao);
    SQLConnectionZORLA.Params.add("User_Name=ZORLA");
    SQLConnectionZORLA.Params.add("Password=qubertan");
    SQLConnectionZORLA.VendorLib = FbClient::defaultLibraryName();
    Configurado = true;
}

void TFDMExporta::CDSSaidasCalcFields(ClientDataSet& ds) {
    const FieldRef agrupamento(ds, m_fAgrupamento);
    if (agrupamento.isNull()) return;
    const std::string_view a = agrupamento.text();
    if (a == "NFT" || a == "FAT" || a == "NFE")
        ds.setCalcValue(m_fTipo, "NF");
    else if (a == "ECF")
        ds.setCalcValue(m_fTipo, "CF");
}

ClientDataSet& TFDMExporta::ConsultaSaidas(const char* tipoMovimento, Date dataInicial, Date dataFinal,
                                           std::int64_t empresa, std::stop_token parada) {
    CDSSaidas.close();
    PreparaSaidas(tipoMovimento, dataInicial, dataFinal, empresa);
    CDSSaidas.open(std::move(parada));
    return CDSSaidas;
}

bool TFDMExporta::LeSaidas(const char* tipoMovimento, Date dataInicial, Date dataFinal, std::int64_t empresa,
                           RowReceiver& leitor, std::stop_token parada) {
    PreparaSaidas(tipoMovimento, dataInicial, dataFinal, empresa);
    return QSaidas.fetch(leitor, std::move(parada));
}

void TFDMExporta::EntregaSaidas(const char* tipoMovimento, Date dataInicial, Date dataFinal, std::int64_t empresa,
                                std::size_t linhasPorLote, const ClientDataSet::Lote& lote, std::stop_token parada) {
    PreparaSaidas(tipoMovimento, dataInicial, dataFinal, empresa);
    CDSSaidas.entregaEmLotes(linhasPorLote, lote, std::move(parada));
}

ClientDataSet& TFDMExporta::AbreEmpresas(std::stop_token parada) {
    ClientEmpresaLocal.close();
    ClientEmpresaLocal.open(std::move(parada));
    return ClientEmpresaLocal;
}

ClientDataSet& TFDMExporta::ConsultaMovimento(Date dataInicial, Date dataFinal, std::stop_token parada) {
    CDSMovimento.close();
    PreparaMovimento(dataInicial, dataFinal);
    CDSMovimento.setFiltered(false);
    CDSMovimento.open(std::move(parada));
    return CDSMovimento;
}

bool TFDMExporta::LeMovimento(Date dataInicial, Date dataFinal, RowReceiver& leitor, std::stop_token parada) {
    PreparaMovimento(dataInicial, dataFinal);
    return SQLMovimento.fetch(leitor, std::move(parada));
}

void TFDMExporta::PreparaSaidas(const char* tipoMovimento, Date dataInicial, Date dataFinal, std::int64_t empresa) {
    QSaidas.paramByName("TIPODOCUMENTO").value = "NF";
    QSaidas.paramByName("DATAINICIAL").value = dataInicial;
    QSaidas.paramByName("DATAFINAL").value = dataFinal;
    QSaidas.paramByName("EMPRESA").value = empresa;
    QSaidas.paramByName("TIPOMOVIMENTO").value = tipoMovimento;
    QSaidas.paramByName("ATIVO").value = "%";
}

void TFDMExporta::PreparaMovimento(Date dataInicial, Date dataFinal) {
    SQLMovimento.paramByName("BANCO").value = "%";
    SQLMovimento.paramByName("DATA_INICIAL").value = dataInicial;
    SQLMovimento.paramByName("DATA_FINAL").value = dataFinal;
}

void TFDMExporta::CDSCupomACalcFields(ClientDataSet& ds) {
    std::string t = ds.fieldByName("TOTALIZADOR").asString();
    const char* fixed = t == "N1"      ? "NN"
                        : t == "I1"    ? "II"
                        : t == "F1"    ? "FF"
                        : t == "Can-T" ? "CANC"
                        : t == "DT"    ? "DESC"
                                       : nullptr;
    if (fixed)
        ds.setCalcValue("SituacaoTributaria", fixed);
    else if (t.size() >= 3 && t[2] == 'T')
        ds.setCalcValue("SituacaoTributaria", t.substr(3, 4));
    else if (t.size() >= 3 && t[2] == 'S')
        ds.setCalcValue("SituacaoTributaria", "ISS");
}

}  // namespace zorla
