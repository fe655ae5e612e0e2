#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "leiaute/TipoArquivo.h"

namespace zorla {

// How a field of a record turns what it reads into its characters.
enum class Regra : unsigned char {
    Fixo,        // `largura` times `preenchimento`: the record's kind, blanks, zeros
    Texto,       // left-aligned, blanks after it, cut to the width; a control character goes as a blank
    Documento,   // as Texto, after every capital "NF" became two blanks
    Cadastro,    // the column, or `outra` when the column is blank; "." and "-" removed (a "/" stays); as Texto
    Valor,       // hundredths as digits, at least three, a minus in front; right-aligned, filled with `preenchimento`
    AnoMesDia,   // yyyymmdd; a missing date gives blanks
    DiaMesAno,   // ddmmyyyy
    DiaMesAno2,  // ddmmyy
    Dado,        // a text the writer gives (company code, line number, history), as Texto
};

struct CampoDoLeiaute {
    std::string_view nome;  // the column it reads; for Fixo and Dado what it holds
    std::size_t largura = 0;
    Regra regra = Regra::Fixo;
    char preenchimento = ' ';
    std::string_view outra = {};   // Cadastro's second column
    std::string_view rotulo = {};  // the field's name as the operator reads it ("Número do documento")

    // Whether the field reads a column of the row.
    bool leColuna() const { return regra != Regra::Fixo && regra != Regra::Dado; }
    bool texto() const { return regra == Regra::Texto || regra == Regra::Documento || regra == Regra::Cadastro; }
    bool data() const { return regra == Regra::AnoMesDia || regra == Regra::DiaMesAno || regra == Regra::DiaMesAno2; }
};

// One record kind: its fields in the order they are written, one after the other, no separator.
struct Leiaute {
    std::string_view nome;
    std::string_view documento;  // the column that names a record in a failure
    std::span<const CampoDoLeiaute> campos;
    // Labels of the columns the record takes that are no field's own name (Cadastro's second column).
    std::span<const std::pair<std::string_view, std::string_view>> outrosRotulos = {};

    std::size_t largura() const;
    // The 0-based position of the field's first character.
    std::size_t inicio(std::size_t campo) const;
    // The first field of that name; a name not in the table is a programming error (std::logic_error).
    std::size_t indice(std::string_view nome) const;
    // A field of a line read back, which may be shorter than the layout: empty past its end.
    std::string_view campo(std::string_view linha, std::size_t campo) const;
    // The fields a reader shows, in order: all but the blanks and zeros that fill.
    std::vector<std::size_t> camposComNome() const;
    // A field's name as a column's heading, or its label as the operator reads it ("Base do ICMS") when asked and
    // it has one: a second field of the same name is told apart, "BASEICMS (2)".
    std::string titulo(std::size_t campo, bool rotulado = false) const;
};

const Leiaute& LeiauteDaSaida();       // .SAI, 547 characters
const Leiaute& LeiauteDaEntrada();     // .ENT, 251 characters
const Leiaute& LeiauteDoLancamento();  // .ctr, .pag, .fca: 75 characters a line
const Leiaute& LeiauteDoTipo(TipoArquivo tipo);

// A column's name as the operator reads it, the name after it: "Cidade do cliente (CIDADECLIENTE)"; the name alone
// when no layout labels it. Valid as long as `campo` is.
std::string_view RotuloDoCampo(std::string_view campo);

// The text a Texto, Documento, Cadastro or Dado field writes, before it is filled or cut, in place of `saida`.
void TextoDaRegra(Regra regra, std::string_view texto, std::string& saida);
// Cadastro takes its second column when the first is empty or blanks only.
inline bool UsaOutraColuna(std::string_view primeira) {
    return primeira.find_first_not_of(' ') == std::string_view::npos;
}
// Digits of an amount as a Valor field writes it (a minus sign counted): what must fit the field.
std::size_t DigitosDoValor(std::int64_t centavos);
// An account code counts as missing only when its length is 0: one of blanks passes.
inline bool ContaAusente(std::string_view conta) { return conta.empty(); }

}  // namespace zorla
