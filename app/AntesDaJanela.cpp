#include "app/AntesDaJanela.h"

#include <cstdlib>

#include "base/TextoVisivel.h"

namespace zorla {

namespace {
const char* const kAjuda =
    "Uso: zorla-exporta [--help | --version]\n"
    "Abre a janela da exportação de um período do banco ZORLA para os arquivos do Lumetra.\n"
    "A conexão vem de dbxconnections.ini ao lado do programa (instalado: /etc/zorla-exporta/dbxconnections.ini).\n"
    "Sem tela gráfica, use zorla-exporta-cli (zorla-exporta-cli --help), que grava os mesmos arquivos.\n";
}  // namespace

bool SessaoTemTela() {
#ifdef _WIN32
    return true;
#else
    for (const char* variavel : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (const char* v = std::getenv(variavel); v && *v) return true;
    return false;
#endif
}

std::optional<SaidaAntesDaJanela> AntesDaJanela(const std::vector<std::string>& argumentos, bool temTela,
                                                const std::string& versao) {
    // An option it does not know is said so, whatever else is asked for: it would otherwise be passed over.
    for (const std::string& a : argumentos)
        if (a != "--help" && a != "-h" && a != "--version")
            return SaidaAntesDaJanela{2, {}, "zorla-exporta: opção desconhecida: " + Visivel(a) + "\n" + kAjuda};
    for (const std::string& a : argumentos) {
        if (a == "--help" || a == "-h") return SaidaAntesDaJanela{0, kAjuda, {}};
        if (a == "--version") return SaidaAntesDaJanela{0, "zorla-exporta " + versao + "\n", {}};
    }
    if (temTela) return std::nullopt;
    return SaidaAntesDaJanela{1,
                              {},
                              "zorla-exporta: esta sessão não tem tela gráfica para a janela; sem ela, use "
                              "zorla-exporta-cli (zorla-exporta-cli --help), que grava os mesmos arquivos.\n"};
}

}  // namespace zorla
