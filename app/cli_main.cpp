// zorla-exporta-cli: the window's consult and export without the window; the check, the company list and batches.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

#include "base/TextoVisivel.h"
#include "base/VersaoDoArquivo.h"
#include "cli/Argumentos.h"
#include "cli/Comandos.h"
#include "cli/Comparar.h"
#include "cli/Conferir.h"
#include "cli/Lote.h"
#include "cli/Terminal.h"
#include "data/ProgramFolder.h"
#include "sistema/SinaisDeParada.h"

#ifdef _WIN32
#include <windows.h>
#endif

using namespace zorla;

namespace {
int executa(const Argumentos& args, SinaisDeParada& sinais) {
    switch (args.modo) {
        case Argumentos::Modo::Exportar:
            return Exporta(args, sinais);
        case Argumentos::Modo::Verificar:
            return Verifica(args, sinais);
        case Argumentos::Modo::ListarEmpresas:
            return ListaEmpresas(args, sinais);
        case Argumentos::Modo::Lote:
            return ExecutaLote(args, sinais);
        case Argumentos::Modo::Conferir:
            return Confere(args, sinais);
        case Argumentos::Modo::Comparar:
            return Compara(args, sinais);
    }
    return kStatusArgumentos;
}

int principal(int argc, char** argv) {
    SinaisDeParada sinais;  // before anything else, the Firebird engine above all
    auto lido = LeArgumentos(std::vector<std::string>(argv + 1, argv + argc),
                             "zorla-exporta-cli " + VersaoDoArquivo(programFile(), "BUILD"));
    if (!lido) {
        std::fprintf(stderr, "%s\n%s", lido.recusa().mensagem.c_str(), UsoDoPrograma());
        return kStatusArgumentos;
    }
    if (auto* texto = std::get_if<TextoAImprimir>(&*lido)) {
        if (std::fputs(texto->texto.c_str(), stdout) >= 0 && std::fflush(stdout) == 0) return 0;
        std::fprintf(stderr, "Falha ao gravar a saída padrão: %s\n", std::strerror(errno));
        return 1;
    }
    const Argumentos& args = std::get<Argumentos>(*lido);
    const int status = executa(args, sinais);
    // A table or a list that did not reach where it was sent is no success, unless its reader stopped reading.
    if ((std::fflush(stdout) != 0 || std::ferror(stdout)) && !LeitorDaSaidaFoiEmbora()) {
        std::fprintf(stderr, "Falha ao gravar a saída padrão: %s\n", std::strerror(errno));
        if (status == 0 || status == kStatusAvisos || status == kStatusErros) return 1;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // The program's code page is UTF-8 (its manifest); the console is told so, or it shows every accent wrong.
    SetConsoleOutputCP(CP_UTF8);
#endif
    try {
        return principal(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Falha inesperada: %s\nNada mais foi feito; informe o suporte.\n",
                     LinhasVisiveis(e.what()).c_str());
    } catch (...) {
        std::fprintf(stderr, "Falha inesperada. Nada mais foi feito; informe o suporte.\n");
    }
    return 1;
}
