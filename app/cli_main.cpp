// zorla-exporta-cli: the window's consult and export, without the window.
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "CliArgs.h"
#include "Cp1252.h"
#include "DMVantero.h"
#include "Formatacao.h"
#include "Periodo.h"
#include "TerminalHost.h"
#include "TextUtil.h"
#include "ThProcessa.h"

using namespace zorla;

namespace {
std::atomic<bool> g_cancelado{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void aoInterromper(int) { g_cancelado.store(true); }

// The folder as "Continuar" takes it: blanks dropped, the path delimiter added when missing.
std::string diretorioDe(const std::string& pasta) {
    std::string d(trimControl(pasta));
    const char sep = std::filesystem::path::preferred_separator;
    if (d.empty() || d.back() != sep) d += sep;
    return d;
}
}  // namespace

int main(int argc, char** argv) {
    CliArgs args;
    try {
        args = parseCliArgs(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n%s", e.what(), usoCli());
        return 2;
    }

    const int mesIndice = args.mes - 1;
    const int ultimo = static_cast<int>(static_cast<unsigned>(
        UltimoDiaMes(ComporData(1, args.mes, args.ano), false).day()));
    const int diaInicial = args.diaInicial.value_or(1);
    const int diaFinal = args.diaFinal.value_or(ultimo);

    RunParameters params;
    try {
        params.DataInicial = ComporData(diaInicial, args.mes, args.ano);
        params.DataFinal = ComporData(diaFinal, args.mes, args.ano);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n%s", e.what(), usoCli());
        return 2;
    }
    params.NomeArquivo =
        NomeArquivoPeriodo(std::to_string(diaInicial), std::to_string(diaFinal), AbreviaturaMes(mesIndice));
    params.empresa = args.empresa;
    params.codigoEmpresa = utf8ToCp1252(args.codigo);
    params.pastaDigitada = args.saida;
    params.Diretorio = diretorioDe(args.saida);

    TFDMExporta dm(args.config.value_or(TFDMExporta::defaultConnectionFile()));
    try {
        ClientDataSet& empresas = dm.ClientEmpresaLocal;
        empresas.open();
        bool achou = false;
        for (empresas.first(); !empresas.eof() && !achou; empresas.next())
            achou = empresas.fieldByName("CODEMPRESA").asInteger() == args.empresa;
        if (!achou) {
            std::fprintf(stderr, "Empresa %d não encontrada.\n%s", args.empresa, usoCli());
            return 2;
        }
        dm.ConsultaSaidas("S", params.DataInicial, params.DataFinal, args.empresa);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }

    struct sigaction sa {};
    sa.sa_handler = aoInterromper;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);

    TerminalHost host(g_cancelado, stderr, isatty(STDERR_FILENO) != 0);
    DiskFiles disco;
    ThProcessa run(dm, host, params, disco);
    run.start();
    run.wait();

    std::printf("Arquivos gravados:\n");
    for (const ArquivoGravado& a : run.arquivos())
        std::printf(a.completo ? "  %s: %ld linhas\n" : "  %s: incompleto, %ld linhas inteiras\n", a.caminho.c_str(),
                    a.linhas);
    switch (run.desfecho()) {
        case Desfecho::Concluido: return 0;
        case Desfecho::Cancelado: return 130;
        case Desfecho::Falhou: return 1;
    }
    return 1;
}
