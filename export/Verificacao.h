#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "base/Periodo.h"

namespace zorla {

class TFDMExporta;

// Errors stop or interrupt a run; warnings are written all the same.
enum class Gravidade { Erro, Aviso };

struct Problema {
    Gravidade gravidade = Gravidade::Aviso;
    std::string documento;  // which document or movement, e.g. "Venda NF000123"
    std::string campo;
    std::string valor;
    std::string problema;  // what is wrong; all texts UTF-8
};

struct ResultadoDaVerificacao {
    // The errors first, then the warnings, each in the order of the export: sales, purchases, cash/bank movements.
    // A deque, so that millions of warnings grow without ever being copied.
    std::deque<Problema> problemas;
    int erros() const;
    int avisos() const;
};

// Reads the period of a company as an export does and lists every problem of it in one pass; writes nothing and
// leaves the datasets of the consult and the run alone.
ResultadoDaVerificacao Verifica(TFDMExporta& dm, const Periodo& periodo, std::int64_t empresa);

// The rules the run and the check share.
// Digits of an amount as the records write it (a minus sign counted): what must fit its field.
std::size_t DigitosDoValor(std::int64_t centavos);
// An account code counts as missing only when its length is 0: one of blanks passes.
inline bool ContaAusente(std::string_view conta) { return conta.empty(); }

const char* NomeDaGravidade(Gravidade g);

// A problem as every table and file shows it: these columns, in this order.
inline constexpr std::array<const char*, 5> kColunasDoProblema = {"Tipo", "Documento", "Campo", "Valor", "Problema"};
std::array<std::string_view, 5> ColunasDoProblema(const Problema& p);
// A column's name as the operator reads it, the name after it: "Cidade do cliente (CIDADECLIENTE)".
std::string_view RotuloDoCampo(std::string_view campo);
// "1 erro, 2 avisos"
std::string ContagemDosProblemas(const ResultadoDaVerificacao& resultado);

}  // namespace zorla
