/* ZORLA demo database: the tables and procedures the exporter reads.
   Run by cria-banco-demo.sh right after CREATE DATABASE (dialect 3, WIN1252). */

SET AUTODDL ON;

CREATE TABLE CIDADE (
    CODCIDADE   INTEGER NOT NULL,
    NOMECIDADE  VARCHAR(50) NOT NULL,
    ESTADO      VARCHAR(2) NOT NULL,
    CODIGOIBGE  VARCHAR(7),
    CONSTRAINT PK_CIDADE PRIMARY KEY (CODCIDADE)
);

/* Column order matters: the company list reads E.* */
CREATE TABLE EMPRESA (
    CODEMPRESA            INTEGER NOT NULL,
    FANTASIA              VARCHAR(50) NOT NULL,
    RAZAOSOCIAL           VARCHAR(50) NOT NULL,
    ENDERECO              VARCHAR(40),
    NUMEROPREDIO          VARCHAR(5),
    BAIRRO                VARCHAR(30),
    CEP                   CHAR(8),
    DDD                   CHAR(3),
    TELEFONE              CHAR(8),
    CONTATO               VARCHAR(20),
    DDG                   CHAR(12),
    CNPJ                  CHAR(14),
    INSCRICAOESTADUAL     VARCHAR(15),
    CPF                   CHAR(11),
    SITE                  VARCHAR(50),
    EMAIL                 VARCHAR(60),
    FAX                   CHAR(8),
    STATUS                CHAR(1),
    INSCRICAOMUNICIPAL    VARCHAR(12),
    ESTAEMPRESA           CHAR(1),
    CONTROLADORA          CHAR(1),
    REGIMEFISCAL          CHAR(1) NOT NULL,
    CUSTOFIXO             NUMERIC(15,2) NOT NULL,
    IMPOSTOSOBREESPECIAL  CHAR(1) NOT NULL,
    ISS                   NUMERIC(15,2) NOT NULL,
    ICMSESTADUAL          NUMERIC(15,2) NOT NULL,
    ORDEMPRECO            CHAR(4) NOT NULL,
    MESESCURVAABC         SMALLINT NOT NULL,
    FREQCURVAABC          CHAR(3) NOT NULL,
    PERCCURVAA            SMALLINT NOT NULL,
    PERCCURVAB            SMALLINT NOT NULL,
    PERCCURVAC            SMALLINT NOT NULL,
    DATAULTIMACURVA       DATE,
    CODCIDADE             INTEGER NOT NULL,
    DIFERENCAHORARIO      SMALLINT,
    TIPOEMPRESA           CHAR(1),
    CODCADASTRO           VARCHAR(8),
    REGISTRO              VARCHAR(20),
    CHAVE                 VARCHAR(20),
    CONSTRAINT PK_EMPRESA PRIMARY KEY (CODEMPRESA)
);

/* Customers and suppliers. CNPJ and CPF keep what the clerk typed,
   punctuation included, so they are wider than the report columns. */
CREATE TABLE CADASTRO (
    CODCADASTRO         VARCHAR(8) NOT NULL,
    NOME                VARCHAR(50),
    NOMEFANTASIA        VARCHAR(50),
    TIPOPESSOA          CHAR(1),
    CNPJ                VARCHAR(18),
    CPF                 VARCHAR(14),
    RG                  VARCHAR(12),
    ORGAOEMISSOR        VARCHAR(6),
    DATAEMISSAORG       DATE,
    INSCRICAOESTADUAL   VARCHAR(20),
    INSCRICAOMUNICIPAL  VARCHAR(12),
    ENDERECO            VARCHAR(40),
    NUMERO              VARCHAR(5),
    COMPLEMENTO         VARCHAR(15),
    BAIRRO              VARCHAR(30),
    CEP                 CHAR(8),
    CODCIDADE           INTEGER,
    CODIGOPAIS          VARCHAR(4),
    DDD                 CHAR(3),
    TELEFONE            CHAR(8),
    FAX                 CHAR(8),
    SITE                VARCHAR(50),
    EMAIL               VARCHAR(60),
    SEXO                CHAR(1),
    DATANASCIMENTO      DATE,
    CONSTRAINT PK_CADASTRO PRIMARY KEY (CODCADASTRO)
);

/* Fiscal documents, one row per document. Only the selection columns are
   required; everything the report hands out may be null.
   DATAAPURACAO puts a document in another tax period than its movement
   date (late bookings); null means the movement date decides. */
CREATE TABLE MOVESTOQUE (
    CODMOVESTOQUE            VARCHAR(10) NOT NULL,
    CODEMPRESA               INTEGER NOT NULL,
    TIPOMOVIMENTO            CHAR(1) NOT NULL,
    TIPODOCUMENTO            VARCHAR(2) DEFAULT 'NF' NOT NULL,
    ATIVO                    CHAR(1) DEFAULT 'S' NOT NULL,
    DATAAPURACAO             DATE,
    DATAMOVIMENTO            DATE,
    MOVIMENTO                CHAR(1),
    AGRUPAMENTO              CHAR(3),
    NUMERODOC                VARCHAR(10),
    SERIEDOC                 CHAR(3),
    CODCADASTRO              VARCHAR(8),
    FAVORECIDO               VARCHAR(50),
    OPERACAO                 CHAR(1),
    VALOR                    NUMERIC(15,2),
    CFOP                     CHAR(4),
    BASEICMS                 NUMERIC(15,2),
    ALIQUOTAICMS             NUMERIC(15,2),
    VALORICMS                NUMERIC(15,2),
    VALORICMSSUBST           NUMERIC(15,2),
    ISENTO                   NUMERIC(15,2),
    VALORIPI                 NUMERIC(15,2),
    BASEIPI                  NUMERIC(15,2),
    VALORISS                 NUMERIC(15,2),
    BASEISS                  NUMERIC(15,2),
    OUTROS                   NUMERIC(15,2),
    ESPECIE                  VARCHAR(3),
    DATADOCUMENTO            DATE,
    ESTADO                   VARCHAR(2),
    BASEICMSSUBST            NUMERIC(15,2),
    ALIQUOTAIPI              NUMERIC(15,2),
    SITUACAO                 VARCHAR(10),
    FRETE                    NUMERIC(15,2),
    CIFFOB                   CHAR(1),
    OBSERVACAO               VARCHAR(240),
    LANCAMENTO               VARCHAR(10),
    VALORPRODUTOS            NUMERIC(15,2),
    DOCCONSUMIDOR            VARCHAR(14),
    VALORSERVICOS            NUMERIC(15,2),
    VALORSEGURO              NUMERIC(15,2),
    VALORDESPESASACESSORIAS  NUMERIC(15,2),
    DESCONTO                 NUMERIC(15,2),
    MODELODOC                CHAR(2),
    MODELONFTERCEIRO         CHAR(2),
    CONSTRAINT PK_MOVESTOQUE PRIMARY KEY (CODMOVESTOQUE)
);

CREATE INDEX IX_MOVESTOQUE_EMPRESA ON MOVESTOQUE (CODEMPRESA, TIPOMOVIMENTO);

/* Cash and bank movements. DATACOMPETENCIA, when set, decides the period
   instead of DATA (a cheque booked in one month and cleared in the next). */
CREATE TABLE MOVBANCARIO (
    CODMOVIMENTO     INTEGER NOT NULL,
    DATA             DATE,
    DATACOMPETENCIA  DATE,
    TIPO_LANCAMENTO  CHAR(1),
    PARCELA          INTEGER,
    QTDE_PARCELA     INTEGER,
    VALOR            NUMERIC(15,2),
    HISTORICO        VARCHAR(50),
    DOCUMENTO        VARCHAR(11),
    CODCADASTRO      VARCHAR(8),
    CODBANCO         VARCHAR(8),
    CREDORA          VARCHAR(15),
    DEVEDORA         VARCHAR(15),
    OPERACAO         CHAR(1),
    NOMECREDOR       VARCHAR(50),
    NOMEDEVEDOR      VARCHAR(50),
    CENTROCUSTO      INTEGER,
    LOCAL_CCUSTO     CHAR(1),
    CONSTRAINT PK_MOVBANCARIO PRIMARY KEY (CODMOVIMENTO)
);

CREATE INDEX IX_MOVBANCARIO_DATA ON MOVBANCARIO (DATA);

/* Fiscal printer totalizers of each Z reduction. */
CREATE TABLE ECF_TOTALIZADORES (
    CODREDUCAOZ  INTEGER NOT NULL,
    TOTALIZADOR  VARCHAR(7) NOT NULL,
    VALOR        NUMERIC(15,2) NOT NULL
);

CREATE INDEX IX_ECF_TOTALIZADORES_REDUCAO ON ECF_TOTALIZADORES (CODREDUCAOZ);

SET TERM ^ ;

/* One row per fiscal document of the company and tax period. Documents
   without a customer come out too, with the customer columns null.
   A typed tax id that does not fit the report column goes out as digits. */
CREATE PROCEDURE RELATORIOAPURACAOICMS (
    TIPODOCUMENTO  VARCHAR(2),
    TIPOMOVIMENTO  VARCHAR(1),
    DATAINICIAL    DATE,
    DATAFINAL      DATE,
    EMPRESA        INTEGER,
    ATIVO          VARCHAR(1))
RETURNS (
    CODMOVESTOQUE            VARCHAR(10),
    DATAMOVIMENTO            DATE,
    MOVIMENTO                CHAR(1),
    AGRUPAMENTO              CHAR(3),
    NUMERODOC                VARCHAR(10),
    SERIEDOC                 CHAR(3),
    CODCADASTRO              VARCHAR(8),
    FAVORECIDO               VARCHAR(50),
    OPERACAO                 CHAR(1),
    VALOR                    NUMERIC(15,2),
    CFOP                     CHAR(4),
    BASEICMS                 NUMERIC(15,2),
    ALIQUOTAICMS             NUMERIC(15,2),
    VALORICMS                NUMERIC(15,2),
    VALORICMSSUBST           NUMERIC(15,2),
    ISENTO                   NUMERIC(15,2),
    VALORIPI                 NUMERIC(15,2),
    BASEIPI                  NUMERIC(15,2),
    VALORISS                 NUMERIC(15,2),
    BASEISS                  NUMERIC(15,2),
    OUTROS                   NUMERIC(15,2),
    ESPECIE                  VARCHAR(3),
    DATADOCUMENTO            DATE,
    ESTADO                   VARCHAR(2),
    BASEICMSSUBST            NUMERIC(15,2),
    ALIQUOTAIPI              NUMERIC(15,2),
    SITUACAO                 VARCHAR(10),
    FRETE                    NUMERIC(15,2),
    DDD                      CHAR(3),
    DATAEMISSAORG            DATE,
    ORGAOEMISSOR             VARCHAR(6),
    RG                       VARCHAR(12),
    INSCRICAOMUNICIPAL       VARCHAR(12),
    INSCRICAOESTADUAL        VARCHAR(20),
    SITE                     VARCHAR(50),
    EMAIL                    VARCHAR(60),
    FAX                      CHAR(8),
    TELEFONE                 CHAR(8),
    SEXO                     CHAR(1),
    DATANASCIMENTO           DATE,
    ESTADOCLIENTE            CHAR(2),
    CIDADECLIENTE            VARCHAR(50),
    BAIRRO                   VARCHAR(30),
    CEP                      CHAR(8),
    COMPLEMENTO              VARCHAR(15),
    NUMERO                   VARCHAR(5),
    ENDERECOCLIENTE          VARCHAR(40),
    NOMEFANTASIACLIENTE      VARCHAR(50),
    NOMECLIENTE              VARCHAR(50),
    CNPJ                     CHAR(14),
    CPF                      CHAR(11),
    CIFFOB                   CHAR(1),
    OBSERVACAO               VARCHAR(240),
    LANCAMENTO               VARCHAR(10),
    VALORPRODUTOS            NUMERIC(15,2),
    DOCCONSUMIDOR            VARCHAR(14),
    VALORSERVICOS            NUMERIC(15,2),
    VALORSEGURO              NUMERIC(15,2),
    VALORDESPESASACESSORIAS  NUMERIC(15,2),
    CODIGOCIDADEIBGE         VARCHAR(7),
    CODIGOPAISIBGE           VARCHAR(4),
    DESCONTO                 NUMERIC(15,2),
    MODELODOC                CHAR(2),
    MODELONFTERCEIRO         CHAR(2))
AS
BEGIN
    FOR SELECT
            M.CODMOVESTOQUE, M.DATAMOVIMENTO, M.MOVIMENTO, M.AGRUPAMENTO,
            M.NUMERODOC, M.SERIEDOC, M.CODCADASTRO, M.FAVORECIDO, M.OPERACAO,
            M.VALOR, M.CFOP, M.BASEICMS, M.ALIQUOTAICMS, M.VALORICMS,
            M.VALORICMSSUBST, M.ISENTO, M.VALORIPI, M.BASEIPI, M.VALORISS,
            M.BASEISS, M.OUTROS, M.ESPECIE, M.DATADOCUMENTO, M.ESTADO,
            M.BASEICMSSUBST, M.ALIQUOTAIPI, M.SITUACAO, M.FRETE,
            C.DDD, C.DATAEMISSAORG, C.ORGAOEMISSOR, C.RG,
            C.INSCRICAOMUNICIPAL, C.INSCRICAOESTADUAL, C.SITE, C.EMAIL,
            C.FAX, C.TELEFONE, C.SEXO, C.DATANASCIMENTO,
            CC.ESTADO, CC.NOMECIDADE, C.BAIRRO, C.CEP, C.COMPLEMENTO,
            C.NUMERO, C.ENDERECO, C.NOMEFANTASIA, C.NOME,
            IIF(CHAR_LENGTH(TRIM(TRAILING FROM C.CNPJ)) <= 14, C.CNPJ,
                SUBSTRING(REPLACE(REPLACE(REPLACE(C.CNPJ, '.', ''), '-', ''), '/', '')
                          FROM 1 FOR 14)),
            IIF(CHAR_LENGTH(TRIM(TRAILING FROM C.CPF)) <= 11, C.CPF,
                SUBSTRING(REPLACE(REPLACE(REPLACE(C.CPF, '.', ''), '-', ''), '/', '')
                          FROM 1 FOR 11)),
            M.CIFFOB, M.OBSERVACAO, M.LANCAMENTO, M.VALORPRODUTOS,
            M.DOCCONSUMIDOR, M.VALORSERVICOS, M.VALORSEGURO,
            M.VALORDESPESASACESSORIAS, CC.CODIGOIBGE, C.CODIGOPAIS,
            M.DESCONTO, M.MODELODOC, M.MODELONFTERCEIRO
        FROM MOVESTOQUE M
        LEFT JOIN CADASTRO C ON (C.CODCADASTRO = M.CODCADASTRO)
        LEFT JOIN CIDADE CC ON (CC.CODCIDADE = C.CODCIDADE)
        WHERE M.CODEMPRESA = :EMPRESA
          AND M.TIPOMOVIMENTO = :TIPOMOVIMENTO
          AND M.TIPODOCUMENTO = :TIPODOCUMENTO
          AND COALESCE(M.DATAAPURACAO, M.DATAMOVIMENTO)
              BETWEEN :DATAINICIAL AND :DATAFINAL
          AND M.ATIVO LIKE :ATIVO
        INTO
            :CODMOVESTOQUE, :DATAMOVIMENTO, :MOVIMENTO, :AGRUPAMENTO,
            :NUMERODOC, :SERIEDOC, :CODCADASTRO, :FAVORECIDO, :OPERACAO,
            :VALOR, :CFOP, :BASEICMS, :ALIQUOTAICMS, :VALORICMS,
            :VALORICMSSUBST, :ISENTO, :VALORIPI, :BASEIPI, :VALORISS,
            :BASEISS, :OUTROS, :ESPECIE, :DATADOCUMENTO, :ESTADO,
            :BASEICMSSUBST, :ALIQUOTAIPI, :SITUACAO, :FRETE,
            :DDD, :DATAEMISSAORG, :ORGAOEMISSOR, :RG,
            :INSCRICAOMUNICIPAL, :INSCRICAOESTADUAL, :SITE, :EMAIL,
            :FAX, :TELEFONE, :SEXO, :DATANASCIMENTO,
            :ESTADOCLIENTE, :CIDADECLIENTE, :BAIRRO, :CEP, :COMPLEMENTO,
            :NUMERO, :ENDERECOCLIENTE, :NOMEFANTASIACLIENTE, :NOMECLIENTE,
            :CNPJ,
            :CPF,
            :CIFFOB, :OBSERVACAO, :LANCAMENTO, :VALORPRODUTOS,
            :DOCCONSUMIDOR, :VALORSERVICOS, :VALORSEGURO,
            :VALORDESPESASACESSORIAS, :CODIGOCIDADEIBGE, :CODIGOPAISIBGE,
            :DESCONTO, :MODELODOC, :MODELONFTERCEIRO
    DO
        SUSPEND;
END^

/* Movements of the period for the bank codes matching BANCO; a movement
   without bank code (cash) still matches '%'. The key breaks ties of the
   same day so two runs hand out the same order. */
CREATE PROCEDURE SP_EXPORTAMOVIMENTO_BANCARIO (
    BANCO         VARCHAR(8),
    DATA_INICIAL  DATE,
    DATA_FINAL    DATE)
RETURNS (
    DATA             DATE,
    TIPO_LANCAMENTO  CHAR(1),
    PARCELA          INTEGER,
    VALOR            NUMERIC(15,2),
    HISTORICO        VARCHAR(50),
    DOCUMENTO        VARCHAR(11),
    CODCADASTRO      VARCHAR(8),
    CODBANCO         VARCHAR(8),
    CREDORA          VARCHAR(15),
    DEVEDORA         VARCHAR(15),
    QTDE_PARCELA     INTEGER,
    OPERACAO         CHAR(1),
    NOMECREDOR       VARCHAR(50),
    NOMEDEVEDOR      VARCHAR(50),
    CENTROCUSTO      INTEGER,
    LOCAL_CCUSTO     CHAR(1))
AS
BEGIN
    FOR SELECT
            M.DATA, M.TIPO_LANCAMENTO, M.PARCELA, M.VALOR, M.HISTORICO,
            M.DOCUMENTO, M.CODCADASTRO, M.CODBANCO, M.CREDORA, M.DEVEDORA,
            M.QTDE_PARCELA, M.OPERACAO, M.NOMECREDOR, M.NOMEDEVEDOR,
            M.CENTROCUSTO, M.LOCAL_CCUSTO
        FROM MOVBANCARIO M
        WHERE COALESCE(M.DATACOMPETENCIA, M.DATA)
              BETWEEN :DATA_INICIAL AND :DATA_FINAL
          AND COALESCE(M.CODBANCO, '') LIKE :BANCO
        ORDER BY M.DATA, M.CODMOVIMENTO
        INTO
            :DATA, :TIPO_LANCAMENTO, :PARCELA, :VALOR, :HISTORICO,
            :DOCUMENTO, :CODCADASTRO, :CODBANCO, :CREDORA, :DEVEDORA,
            :QTDE_PARCELA, :OPERACAO, :NOMECREDOR, :NOMEDEVEDOR,
            :CENTROCUSTO, :LOCAL_CCUSTO
    DO
        SUSPEND;
END^

SET TERM ; ^

/* Embedded access still checks privileges by user name (the exporter
   connects as ZORLA), so procedures need their own rights on the tables. */
GRANT SELECT ON MOVESTOQUE TO PROCEDURE RELATORIOAPURACAOICMS;
GRANT SELECT ON CADASTRO TO PROCEDURE RELATORIOAPURACAOICMS;
GRANT SELECT ON CIDADE TO PROCEDURE RELATORIOAPURACAOICMS;
GRANT SELECT ON MOVBANCARIO TO PROCEDURE SP_EXPORTAMOVIMENTO_BANCARIO;

GRANT EXECUTE ON PROCEDURE RELATORIOAPURACAOICMS TO PUBLIC;
GRANT EXECUTE ON PROCEDURE SP_EXPORTAMOVIMENTO_BANCARIO TO PUBLIC;

GRANT SELECT ON EMPRESA TO PUBLIC;
GRANT SELECT ON CIDADE TO PUBLIC;
GRANT SELECT ON ECF_TOTALIZADORES TO PUBLIC;

COMMIT;
