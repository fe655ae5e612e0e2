#!/usr/bin/env bash
# A database with N sales documents (and N/10 purchases and cash/bank movements) in March 2008 of company 1.
#   gera_bench.sh ARQUIVO.fdb N
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
db=${1:?database file}
n=${2:?number of sales documents}
rm -f "$db"
bash "$here/../db/cria-banco-demo.sh" "$db" --somente-esquema >/dev/null
sql=$(mktemp)
trap 'rm -f "$sql"' EXIT
cat >"$sql" <<SQL
SET NAMES WIN1252;
INSERT INTO CIDADE (CODCIDADE, NOMECIDADE, ESTADO) VALUES (1, 'Campinas', 'SP');
INSERT INTO EMPRESA (CODEMPRESA, FANTASIA, RAZAOSOCIAL, REGIMEFISCAL, CUSTOFIXO, IMPOSTOSOBREESPECIAL, ISS,
  ICMSESTADUAL, ORDEMPRECO, MESESCURVAABC, FREQCURVAABC, PERCCURVAA, PERCCURVAB, PERCCURVAC, CODCIDADE)
  VALUES (1, 'Bench', 'Bench Ltda', 'N', 0, 'N', 0, 0, 'A', 1, 'M', 1, 2, 3, 1);
INSERT INTO CADASTRO (CODCADASTRO, NOME, CNPJ, CODCIDADE) VALUES ('C1', 'Cliente', '12345678000190', 1);
SET TERM ^ ;
EXECUTE BLOCK AS
  DECLARE I INTEGER = 0;
BEGIN
  WHILE (I < $n) DO
  BEGIN
    INSERT INTO MOVESTOQUE (CODMOVESTOQUE, CODEMPRESA, TIPOMOVIMENTO, DATAMOVIMENTO, AGRUPAMENTO, NUMERODOC,
      SERIEDOC, CFOP, ALIQUOTAICMS, DATADOCUMENTO, OBSERVACAO, ESTADO, CODCADASTRO, VALOR, BASEICMS, VALORICMS,
      FAVORECIDO)
    VALUES (:I, 1, IIF(MOD(:I, 10) = 0, 'E', 'S'), DATEADD(MOD(:I, 31) DAY TO DATE '2008-03-01'), 'NFE',
      'NF' || :I, '1', '5102', 18, DATE '2008-03-01', 'Venda n' || :I, 'SP', 'C1', MOD(:I, 100000) + 0.5, 10, 1.8,
      'Favorecido ' || :I);
    IF (MOD(:I, 10) = 0) THEN
      INSERT INTO MOVBANCARIO (CODMOVIMENTO, DATA, OPERACAO, DEVEDORA, CREDORA, DOCUMENTO, PARCELA, VALOR, HISTORICO)
      VALUES (:I, DATE '2008-03-05', IIF(MOD(:I, 30) = 0, 'V', IIF(MOD(:I, 30) = 10, 'C', 'F')), '1120003',
        '6110001', :I, 1, 12.34, 'Historico do movimento numero ' || :I);
    I = I + 1;
  END
END^
SET TERM ; ^
COMMIT;
SQL
isql-fb -q -bail -user SYSDBA -ch WIN1252 -i "$sql" "$db"
