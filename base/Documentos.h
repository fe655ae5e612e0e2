#pragma once

#include <string>
#include <string_view>

namespace zorla {

// The tax id as its check digits are computed over it: without ".", "-", "/" and blanks.
std::string SemPontuacaoDoDocumento(std::string_view documento);
// Modulus 11 over the first twelve characters, then thirteen, as the Receita Federal has it. The first twelve may
// be letters too (the alphanumeric CNPJ), each worth its code minus 48; the check digits are digits. A CNPJ of one
// repeated digit is invalid.
bool CnpjValido(std::string_view cnpj);
// A CNPJ of 14 characters as people write it, 00.000.000/0000-00; any other text as it is.
std::string CnpjFormatado(std::string_view cnpj);
// Modulus 11 over the first nine digits, then ten; a CPF of one repeated digit is invalid.
bool CpfValido(std::string_view cpf);

}  // namespace zorla
