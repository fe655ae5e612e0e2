#include "data/DMVantero.h"

#include <algorithm>
#include <initializer_list>

#include "data/FbClient.h"
#include "data/ProgramFolder.h"

namespace zorla {

namespace {

constexpr const char* kValor = "#,##0.00";

FieldDef field(const char* name, FieldType type) {
    FieldDef f;
    f.name = name;
    f.type = type;
    return f;
}
FieldDef text(const char* name, int size, bool fixed = false) {
    FieldDef f = field(name, FieldType::Text);
    f.size = size;
    f.fixedWidth = fixed;
    return f;
}
FieldDef integer(const char* name) { return field(name, FieldType::Integer); }
FieldDef decimal(const char* name, const char* format = "") {
    FieldDef f = field(name, FieldType::Decimal);
    f.displayFormat = format;
    return f;
}
FieldDef date(const char* name) { return field(name, FieldType::Date); }
FieldDef calculated(const char* name, int size) {
    FieldDef f = text(name, size);
    f.calculated = true;
    return f;
}

void declare(ClientDataSet& ds, std::initializer_list<FieldDef> fields) {
    for (const FieldDef& f : fields) ds.addField(f);
}

}  // namespace

std::string TFDMExporta::defaultConnectionFile() { return programFolder() + "dbxconnections.ini"; }

TFDMExporta::TFDMExporta(std::string connectionFile)
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
      m_connectionFile(std::move(connectionFile)) {
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
    declare(ClientEmpresaLocal,
            {integer("CODEMPRESA"),
             text("FANTASIA", 50),
             text("RAZAOSOCIAL", 50),
             text("ENDERECO", 40),
             text("NUMEROPREDIO", 5),
             text("BAIRRO", 30),
             text("CEP", 8, true),
             text("DDD", 3, true),
             text("TELEFONE", 8, true),
             text("CONTATO", 20),
             text("DDG", 12, true),
             text("CNPJ", 14, true),
             text("INSCRICAOESTADUAL", 15),
             text("CPF", 11, true),
             text("SITE", 50),
             text("EMAIL", 60),
             text("FAX", 8, true),
             text("STATUS", 1, true),
             text("INSCRICAOMUNICIPAL", 12),
             text("ESTAEMPRESA", 1, true),
             text("CONTROLADORA", 1, true),
             text("REGIMEFISCAL", 1, true),
             decimal("CUSTOFIXO"),
             text("IMPOSTOSOBREESPECIAL", 1, true),
             decimal("ISS"),
             decimal("ICMSESTADUAL"),
             text("ORDEMPRECO", 4, true),
             integer("MESESCURVAABC"),
             text("FREQCURVAABC", 3, true),
             integer("PERCCURVAA"),
             integer("PERCCURVAB"),
             integer("PERCCURVAC"),
             date("DATAULTIMACURVA"),
             integer("CODCIDADE"),
             integer("DIFERENCAHORARIO"),
             text("TIPOEMPRESA", 1, true),
             text("CODCADASTRO", 8),
             text("REGISTRO", 20),
             text("CHAVE", 20),
             text("NOMECIDADE", 50),
             text("ESTADO", 2)});
}

void TFDMExporta::declaraSaidas() {
    QSaidas.setSql({
        "SELECT *",
        "FROM RELATORIOAPURACAOICMS(:TIPODOCUMENTO, :TIPOMOVIMENTO, :DATAINICIAL, :DATAFINAL, :EMPRESA, :ATIVO)",
        "ORDER BY DATAMOVIMENTO, AGRUPAMENTO, NUMERODOC",
    });
    CDSSaidas.setProvider(ProviderSaidas);
    declare(CDSSaidas, {text("CODMOVESTOQUE", 10),
                        date("DATAMOVIMENTO"),
                        text("MOVIMENTO", 1, true),
                        text("AGRUPAMENTO", 3, true),
                        text("NUMERODOC", 10),
                        text("SERIEDOC", 3, true),
                        text("CODCADASTRO", 8),
                        text("FAVORECIDO", 50),
                        text("OPERACAO", 1, true),
                        decimal("VALOR", kValor),
                        text("CFOP", 4, true),
                        decimal("BASEICMS", kValor),
                        decimal("ALIQUOTAICMS", kValor),
                        decimal("VALORICMS", kValor),
                        decimal("VALORICMSSUBST", kValor),
                        decimal("ISENTO"),
                        decimal("VALORIPI", kValor),
                        decimal("BASEIPI", kValor),
                        decimal("VALORISS", kValor),
                        decimal("BASEISS", kValor),
                        decimal("OUTROS", kValor),
                        text("ESPECIE", 3),
                        date("DATADOCUMENTO"),
                        text("ESTADO", 2),
                        decimal("BASEICMSSUBST", kValor),
                        decimal("ALIQUOTAIPI", kValor),
                        text("SITUACAO", 10),
                        decimal("FRETE"),
                        text("DDD", 3, true),
                        date("DATAEMISSAORG"),
                        text("ORGAOEMISSOR", 6),
                        text("RG", 12),
                        text("INSCRICAOMUNICIPAL", 12),
                        text("INSCRICAOESTADUAL", 20),
                        text("SITE", 50),
                        text("EMAIL", 60),
                        text("FAX", 8, true),
                        text("TELEFONE", 8, true),
                        text("SEXO", 1, true),
                        date("DATANASCIMENTO"),
                        text("ESTADOCLIENTE", 2, true),
                        text("CIDADECLIENTE", 50),
                        text("BAIRRO", 30),
                        text("CEP", 8, true),
                        text("COMPLEMENTO", 15),
                        text("NUMERO", 5),
                        text("ENDERECOCLIENTE", 40),
                        text("NOMEFANTASIACLIENTE", 50),
                        text("NOMECLIENTE", 50),
                        text("CNPJ", 14, true),
                        text("CPF", 11, true),
                        text("CIFFOB", 1, true),
                        text("OBSERVACAO", 240),
                        text("LANCAMENTO", 10),
                        decimal("VALORPRODUTOS"),
                        text("DOCCONSUMIDOR", 14),
                        calculated("TIPO", 2),
                        decimal("VALORSERVICOS"),
                        decimal("VALORSEGURO"),
                        decimal("VALORDESPESASACESSORIAS"),
                        text("CODIGOCIDADEIBGE", 7),
                        text("CODIGOPAISIBGE", 4),
                        decimal("DESCONTO"),
                        text("MODELODOC", 2, true),
                        text("MODELONFTERCEIRO", 2, true)});
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
    declare(CDSMovimento, {date("DATA"),
                           text("TIPO_LANCAMENTO", 1, true),
                           integer("PARCELA"),
                           decimal("VALOR"),
                           text("HISTORICO", 50),
                           text("DOCUMENTO", 11),
                           text("CODCADASTRO", 8),
                           text("CODBANCO", 8),
                           text("CREDORA", 15),
                           text("DEVEDORA", 15),
                           integer("QTDE_PARCELA"),
                           text("OPERACAO", 1, true),
                           text("NOMECREDOR", 50),
                           text("NOMEDEVEDOR", 50),
                           integer("CENTROCUSTO"),
                           text("LOCAL_CCUSTO", 1, true)});
}

void TFDMExporta::declaraCupomA() {
    QCupomA.setSql({
        "SELECT T.TOTALIZADOR, T.VALOR",
        "FROM ECF_TOTALIZADORES T",
        "WHERE T.CODREDUCAOZ = :CODREDUCAO",
        " AND T.VALOR > 0 AND T.TOTALIZADOR NOT IN('AT', 'Can-S', 'OPNF')",
    });
    CDSCupomA.setProvider(DSPCupomA);
    declare(CDSCupomA, {text("TOTALIZADOR", 7), decimal("VALOR"), calculated("SituacaoTributaria", 4)});
    CDSCupomA.OnCalcFields = [this](ClientDataSet& ds) { CDSCupomACalcFields(ds); };
}

void TFDMExporta::cancela() {
    SQLConnectionZORLA.cancelOperation();
    std::lock_guard lock(m_mutexDosVinculados);
    for (TFDMExporta* outro : m_vinculados) outro->cancela();
}

void TFDMExporta::Conecta() { SQLConnectionZORLA.open(); }

void TFDMExporta::vincula(TFDMExporta& outro) {
    std::lock_guard lock(m_mutexDosVinculados);
    m_vinculados.push_back(&outro);
}

void TFDMExporta::desvincula(TFDMExporta& outro) {
    std::lock_guard lock(m_mutexDosVinculados);
    std::erase(m_vinculados, &outro);
}

void TFDMExporta::SQLConnectionZORLABeforeConnect() {
    if (Configurado) return;
    SQLConnectionZORLA.close();
    SQLConnectionZORLA.Params.clear();
    SQLConnectionZORLA.ConnectionName = "EMPRESA";
    SQLConnectionZORLA.loadParamsFromIniFile(m_connectionFile);
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
                                           std::int64_t empresa) {
    CDSSaidas.close();
    PreparaSaidas(tipoMovimento, dataInicial, dataFinal, empresa);
    CDSSaidas.open();
    return CDSSaidas;
}

void TFDMExporta::LeSaidas(const char* tipoMovimento, Date dataInicial, Date dataFinal, std::int64_t empresa,
                           RowReceiver& leitor) {
    PreparaSaidas(tipoMovimento, dataInicial, dataFinal, empresa);
    QSaidas.fetch(leitor);
}

void TFDMExporta::EntregaSaidas(const char* tipoMovimento, Date dataInicial, Date dataFinal, std::int64_t empresa,
                                std::size_t linhasPorLote, const ClientDataSet::Lote& lote) {
    PreparaSaidas(tipoMovimento, dataInicial, dataFinal, empresa);
    CDSSaidas.entregaEmLotes(linhasPorLote, lote);
}

ClientDataSet& TFDMExporta::AbreEmpresas() {
    ClientEmpresaLocal.close();
    ClientEmpresaLocal.open();
    return ClientEmpresaLocal;
}

ClientDataSet& TFDMExporta::ConsultaMovimento(Date dataInicial, Date dataFinal) {
    CDSMovimento.close();
    PreparaMovimento(dataInicial, dataFinal);
    CDSMovimento.setFiltered(false);
    CDSMovimento.open();
    return CDSMovimento;
}

void TFDMExporta::LeMovimento(Date dataInicial, Date dataFinal, RowReceiver& leitor) {
    PreparaMovimento(dataInicial, dataFinal);
    SQLMovimento.fetch(leitor);
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
    const char* fixed = t == "N1" ? "NN" : t == "I1" ? "II" : t == "F1" ? "FF" : t == "Can-T" ? "CANC"
                                           : t == "DT"      ? "DESC"
                                                            : nullptr;
    if (fixed)
        ds.setCalcValue("SituacaoTributaria", fixed);
    else if (t.size() >= 3 && t[2] == 'T')
        ds.setCalcValue("SituacaoTributaria", t.substr(3, 4));
    else if (t.size() >= 3 && t[2] == 'S')
        ds.setCalcValue("SituacaoTributaria", "ISS");
}

}  // namespace zorla
