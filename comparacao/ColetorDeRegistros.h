#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "leiaute/TipoArquivo.h"

namespace zorla {

// A record as two exports are compared by it, in 32 bytes: what tells it apart from the other records of its file
// (its identity) and all it holds, each as a 64-bit hash; where its first line starts, and that line's number.
struct RegistroComparavel {
    std::uint64_t identidade = 0, conteudo = 0;
    std::uint64_t inicio = 0;
    long linha = 0;
};

// The lines of one exported file gathered into its records. A book's line is a record, identified by its document:
// date, number, series, kind and the party's CNPJ or CPF (its CFOP, rate and amounts are what a correction
// changes). A cash/bank movement is its first line and, when the next is its second, that one too, identified by
// date, document, amount and, in receipts and payments, the instalment the second line carries: its accounts are
// what a correction sets.
class ColetorDeRegistros {
public:
    // `tamanho`, the file's bytes when known: room for its records made at once.
    explicit ColetorDeRegistros(TipoArquivo tipo, std::uint64_t tamanho = 0);
    // Each line in the file's order, without its CR LF.
    void linha(long numero, std::string_view texto, std::uint64_t inicio);
    std::vector<RegistroComparavel> termina();

private:
    void fechaMovimento();
    TipoArquivo m_tipo;
    std::vector<RegistroComparavel> m_registros;
    std::string m_primeira;  // a movement's first line, until its second is seen
    std::string m_chave;     // room for an identity's fields
    std::uint64_t m_inicio = 0;
    long m_numero = 0;
    bool m_aberto = false;
};

// A record's identity as a person reads it: "05/03/2026, documento 000777, série D1", "09/03/2026, documento 004512
// /2, R$ 1.234,50"; from its line, or from a movement's two (the second empty for a one-line movement). UTF-8.
std::string IdentidadeLegivel(TipoArquivo tipo, std::string_view primeira, std::string_view segunda = {});

// A 64-bit hash of bytes, eight at a time: enough to tell a million records apart, and as fast as they are read.
std::uint64_t Espalha(std::string_view bytes, std::uint64_t semente = 0);

}  // namespace zorla
