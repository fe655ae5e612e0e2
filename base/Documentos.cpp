#include "base/Documentos.h"

#include <algorithm>

namespace zorla {

namespace {
bool digito(char c) { return c >= '0' && c <= '9'; }

// The check digit of the first n characters with weights from `peso` down to 2, then 9 again (CNPJ) or on (CPF).
int digitoVerificador(std::string_view s, std::size_t n, int pesoInicial, int pesoMaximo) {
    int soma = 0, peso = pesoInicial;
    for (std::size_t i = 0; i < n; ++i) {
        soma += (static_cast<unsigned char>(s[i]) - '0') * peso;
        peso = peso == 2 ? pesoMaximo : peso - 1;
    }
    const int resto = soma % 11;
    return resto < 2 ? 0 : 11 - resto;
}

bool umSoDigito(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [&](char c) { return c == s[0]; });
}
}  // namespace

std::string SemPontuacaoDoDocumento(std::string_view documento) {
    std::string out;
    for (char c : documento)
        if (c != '.' && c != '-' && c != '/' && c != ' ') out += c;
    return out;
}

bool CnpjValido(std::string_view cnpj) {
    if (cnpj.size() != 14 || umSoDigito(cnpj) || !digito(cnpj[12]) || !digito(cnpj[13])) return false;
    for (std::size_t i = 0; i < 12; ++i)
        if (!digito(cnpj[i]) && !(cnpj[i] >= 'A' && cnpj[i] <= 'Z')) return false;
    return digitoVerificador(cnpj, 12, 5, 9) == cnpj[12] - '0' && digitoVerificador(cnpj, 13, 6, 9) == cnpj[13] - '0';
}

bool CpfValido(std::string_view cpf) {
    if (cpf.size() != 11 || umSoDigito(cpf) || !std::all_of(cpf.begin(), cpf.end(), digito)) return false;
    return digitoVerificador(cpf, 9, 10, 10) == cpf[9] - '0' && digitoVerificador(cpf, 10, 11, 11) == cpf[10] - '0';
}

}  // namespace zorla

namespace zorla {

std::string CnpjFormatado(std::string_view cnpj) {
    const std::string n = SemPontuacaoDoDocumento(cnpj);
    if (n.size() != 14) return std::string(cnpj);
    return n.substr(0, 2) + "." + n.substr(2, 3) + "." + n.substr(5, 3) + "/" + n.substr(8, 4) + "-" + n.substr(12, 2);
}

}  // namespace zorla
