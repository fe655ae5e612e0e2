#include "app/CliArgs.h"

#include <charconv>
#include <set>
#include <stdexcept>

#include "base/Cp1252.h"
#include "base/Formatacao.h"
#include "base/Periodo.h"
#include "base/TextUtil.h"

namespace zorla {

namespace {
int inteiro(const std::string& opcao, const std::string& texto, int minimo, int maximo) {
    int valor = 0;
    auto [fim, erro] = std::from_chars(texto.data(), texto.data() + texto.size(), valor);
    if (erro != std::errc() || fim != texto.data() + texto.size() || valor < minimo || valor > maximo)
        throw std::invalid_argument("valor inválido para " + opcao + ": '" + texto + "'");
    return valor;
}

// The code goes into every record as typed: anything that would not survive that is refused.
std::string codigoEmpresa(const std::string& digitado, std::vector<std::string>& avisos) {
    const ConversaoCp1252 c = converteParaCp1252(digitado);
    if (c.erro == ErroCp1252::Utf8Invalido) throw std::invalid_argument("--codigo não é texto UTF-8 válido.");
    if (c.erro == ErroCp1252::ForaDoCp1252)
        throw std::invalid_argument("--codigo tem caracteres que o code page 1252 não tem: '" + digitado + "'");
    for (char ch : c.texto)
        if (CaractereDeControle(ch)) throw std::invalid_argument("--codigo tem caracteres de controle.");
    if (c.texto.empty()) throw std::invalid_argument("Informe o código da empresa.");
    if (c.texto.size() > 4)
        avisos.push_back("Aviso: o código '" + digitado + "' tem mais de 4 caracteres; os arquivos levam '" +
                         cp1252ToUtf8(c.texto.substr(0, 4)) + "'.");
    return c.texto;
}
}  // namespace

const char* usoCli() {
    return "Uso: zorla-exporta-cli --empresa N --codigo TEXTO --mes M --ano AAAA [--dia-inicial D] [--dia-final D]\n"
           "                          --saida PASTA [--config ARQUIVO] [--tempo-limite SEGUNDOS]\n";
}

CliArgs parseCliArgs(const std::vector<std::string>& args) {
    CliArgs out;
    std::set<std::string> vistas;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& opcao = args[i];
        if (i + 1 >= args.size()) throw std::invalid_argument("falta o valor de " + opcao);
        const std::string& valor = args[++i];
        if (!vistas.insert(opcao).second) throw std::invalid_argument("opção repetida: " + opcao);
        if (opcao == "--empresa")
            out.empresa = inteiro(opcao, valor, 0, 2147483647);
        else if (opcao == "--codigo")
            out.codigo = codigoEmpresa(valor, out.avisos);
        else if (opcao == "--mes")
            out.mes = inteiro(opcao, valor, 1, 12);
        else if (opcao == "--ano")
            out.ano = inteiro(opcao, valor, 1900, 9999);
        else if (opcao == "--dia-inicial")
            out.diaInicial = inteiro(opcao, valor, 1, 31);
        else if (opcao == "--dia-final")
            out.diaFinal = inteiro(opcao, valor, 1, 31);
        else if (opcao == "--saida")
            out.saida = valor;
        else if (opcao == "--config")
            out.config = valor;
        else if (opcao == "--tempo-limite")
            out.tempoLimite = inteiro(opcao, valor, 1, 86400);
        else
            throw std::invalid_argument("opção desconhecida: " + opcao);
    }
    if (!vistas.count("--empresa")) throw std::invalid_argument("Informe a empresa.");
    if (!vistas.count("--codigo")) throw std::invalid_argument("Informe o código da empresa.");
    if (!vistas.count("--mes")) throw std::invalid_argument("falta --mes");
    if (!vistas.count("--ano")) throw std::invalid_argument("falta --ano");
    // An empty folder would put the files at the root of the file system.
    if (trimControl(out.saida).empty()) throw std::invalid_argument("Informe a pasta de saída (--saida).");
    if (!vistas.count("--dia-final"))
        out.diaFinal = UltimoDiaDoMes(out.mes, out.ano);
    // A reversed period would be exported empty, and named so, without a word.
    if (out.diaInicial > out.diaFinal)
        throw std::invalid_argument("o dia inicial (" + std::to_string(out.diaInicial) + ") é posterior ao dia final (" +
                                    std::to_string(out.diaFinal) + ")");
    return out;
}

}  // namespace zorla
