#pragma once

#include <string_view>

#include "leiaute/TipoArquivo.h"

namespace zorla {

// Which cash/bank movements go to which entry file, by their OPERACAO, and the first history line of each.
struct PassoDoMovimento {
    TipoArquivo tipo;
    const char* operacao;
    const char* historico;  // code page 1252; empty: the movement's own HISTORICO
};

inline constexpr PassoDoMovimento kPassosDoMovimento[] = {
    {TipoArquivo::Recebimentos, "V", "RECEBIMENTO DE TITULO N\xBA"},
    {TipoArquivo::Pagamentos, "C", "PAGAMENTO DE TITULO N\xBA"},
    {TipoArquivo::DespesasGerais, "F", ""},
};

// The step that writes movements of that OPERACAO; nothing when none does.
inline const PassoDoMovimento* PassoDaOperacao(std::string_view operacao) {
    for (const PassoDoMovimento& p : kPassosDoMovimento)
        if (operacao == p.operacao) return &p;
    return nullptr;
}

}  // namespace zorla
