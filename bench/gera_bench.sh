#!/usr/bin/env bash
# A database for the benchmarks: sales and purchases documents and cash/bank movements of one month, company 1.
#   gera_bench.sh ARQUIVO.fdb VENDAS [COMPRAS MOVIMENTOS ANO]
# With VENDAS alone: VENDAS documents of March 2008, a tenth of them purchases, and VENDAS/10 movements.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
db=${1:?database file}
n=${2:?number of documents}
if [ $# -ge 5 ]; then
    vendas=$n compras=$3 movimentos=$4 ano=$5
else
    compras=$((n / 10)) vendas=$((n - n / 10)) movimentos=$((n / 10)) ano=2008
fi
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
  DECLARE T CHAR(1);
BEGIN
  WHILE (I < $vendas + $compras) DO
  BEGIN
    -- Purchases spread evenly among the sales.
    T = IIF(I < $vendas + $compras AND MOD(I * $compras, $vendas + $compras) < $compras, 'E', 'S');
    INSERT INTO MOVESTOQUE (CODMOVESTOQUE, CODEMPRESA, TIPOMOVIMENTO, DATAMOVIMENTO, AGRUPAMENTO, NUMERODOC,
      SERIEDOC, CFOP, ALIQUOTAICMS, DATADOCUMENTO, OBSERVACAO, ESTADO, CODCADASTRO, VALOR, BASEICMS, VALORICMS,
      FAVORECIDO)
    VALUES (:I, 1, :T, DATEADD(MOD(:I, 31) DAY TO DATE '$ano-03-01'), 'NFE',
      'NF' || :I, '1', IIF(:T = 'S', '5102', '1102'), 18, DATE '$ano-03-01', 'Venda n' || :I, 'SP', 'C1',
      MOD(:I, 100000) + 0.5, 10, 1.8, 'Favorecido ' || :I);
    I = I + 1;
  END
  I = 0;
  WHILE (I < $movimentos) DO
  BEGIN
    INSERT INTO MOVBANCARIO (CODMOVIMENTO, DATA, OPERACAO, DEVEDORA, CREDORA, DOCUMENTO, PARCELA, VALOR, HISTORICO)
    VALUES (:I, DATE '$ano-03-05', IIF(MOD(:I, 3) = 0, 'V', IIF(MOD(:I, 3) = 1, 'C', 'F')), '1120003',
      '6110001', :I, 1, 12.34, 'Historico do movimento numero ' || :I);
    I = I + 1;
  END
END^
SET TERM ; ^
COMMIT;
SQL
isql-fb -q -bail -user SYSDBA -ch WIN1252 -i "$sql" "$db"
