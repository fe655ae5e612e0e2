#include "CliArgs.h"

#include <charconv>
#include <stdexcept>

namespace zorla {

namespace {
int inteiro(const std::string& opcao, const std::string& texto, int minimo, int maximo) {
    int valor = 0;
    auto [fim, erro] = std::from_chars(texto.data(), texto.data() + texto.size(), valor);
    if (erro != std::errc() || fim != texto.data() + texto.size() || valor < minimo || valor > maximo)
        throw std::invalid_argument("valor inválido para " + opcao + ": '" + texto + "'");
    return valor;
}
}  // namespace

const char* usoCli() {
    return "Uso: zorla-exporta-cli --empresa N --codigo TEXTO --mes M --ano AAAA [--dia-inicial D] [--dia-final D]\n"
           "                          --saida PASTA [--config ARQUIVO]\n";
}

CliArgs parseCliArgs(const std::vector<std::string>& args) {
    CliArgs out;
    bool temEmpresa = false, temCodigo = false, temMes = false, temAno = false, temSaida = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& opcao = args[i];
        if (i + 1 >= args.size()) throw std::invalid_argument("falta o valor de " + opcao);
        const std::string& valor = args[++i];
        if (opcao == "--empresa") {
            out.empresa = inteiro(opcao, valor, 0, 2147483647);
            temEmpresa = true;
        } else if (opcao == "--codigo") {
            out.codigo = valor;
            temCodigo = true;
        } else if (opcao == "--mes") {
            out.mes = inteiro(opcao, valor, 1, 12);
            temMes = true;
        } else if (opcao == "--ano") {
            out.ano = inteiro(opcao, valor, 1900, 9999);
            temAno = true;
        } else if (opcao == "--dia-inicial") {
            out.diaInicial = inteiro(opcao, valor, 1, 31);
        } else if (opcao == "--dia-final") {
            out.diaFinal = inteiro(opcao, valor, 1, 31);
        } else if (opcao == "--saida") {
            out.saida = valor;
            temSaida = true;
        } else if (opcao == "--config") {
            out.config = valor;
        } else {
            throw std::invalid_argument("opção desconhecida: " + opcao);
        }
    }
    if (!temEmpresa) throw std::invalid_argument("Informe a empresa.");
    if (!temCodigo || out.codigo.empty()) throw std::invalid_argument("Informe o código da empresa.");
    if (!temMes) throw std::invalid_argument("falta --mes");
    if (!temAno) throw std::invalid_argument("falta --ano");
    if (!temSaida) throw std::invalid_argument("falta --saida");
    return out;
}

}  // namespace zorla
