#!/usr/bin/env bash
# Recomputes from the written files every total of the run's --resumo CSV and compares them to the cent: records and
# amounts of each file, and of each TIPO of the fiscal books.
#   bench/confere_resumo.sh PASTA NOME RESUMO.csv   (NOME: the period's base name, e.g. 01A31MAR)
set -euo pipefail
pasta=$1 nome=$2 csv=$3
export LC_ALL=C

# An amount as the files hold it: zeros, maybe a sign among them, the hundredths. Sums stay exact in awk's doubles
# up to 2^53 hundredths, and are printed whole.
montante='function montante(c,  v) { v = c; gsub(/[^0-9]/, "", v); return (index(c, "-") ? -1 : 1) * v }'

dos_arquivos() {
    livro() {  # ARQUIVO LARGURA POSICAO_TIPO POSICOES...
        local arquivo=$1 largura=$2 tipo=$3
        shift 3
        awk -v RS='\r\n' -v arq="$arquivo" -v larg="$largura" -v pt="$tipo" -v pos="$*" "$montante"'
            BEGIN { n = split(pos, p, " ") }
            length($0) == larg {
                t = substr($0, pt + 1, 4); sub(/ +$/, "", t); if (t == "") t = "(sem TIPO)"
                for (k = 1; k <= 2; k++) {
                    chave = arq ";" (k == 1 ? "" : t); reg[chave]++
                    for (i = 1; i <= n; i++) soma[chave, i] += montante(substr($0, p[i] + 1, 11))
                }
            }
            END { for (c in reg) { l = c ";" reg[c]; for (i = 1; i <= n; i++) l = l ";" sprintf("%.0f", soma[c, i]); print l } }
        ' "$pasta/$arquivo"
    }
    livro "$nome.SAI" 547 28 194 205 216 260 271
    livro "$nome.ENT" 251 36 185 196 207
    for prefixo in ctr pag fca; do
        awk -v RS='\r\n' -v arq="$prefixo$nome.txt" "$montante"'
            { n++; s += montante(substr($0, 58, 12)) } END { printf "%s;;%d;%.0f\n", arq, n, s }' "$pasta/$prefixo$nome.txt"
    done
}

do_csv() {
    awk -F';' -v RS='\r\n' "$montante"'
        NR > 1 { l = $1 ";" $2 ";" $3; for (i = 4; i <= 8; i++) if ($i != "") l = l ";" sprintf("%.0f", montante($i)); print l }' "$csv"
}

if diff <(dos_arquivos | sort) <(do_csv | sort) >&2; then
    echo "totais conferidos: $(do_csv | wc -l) linhas do resumo iguais às somas dos arquivos"
else
    echo "totais do resumo diferentes das somas dos arquivos" >&2
    exit 1
fi
