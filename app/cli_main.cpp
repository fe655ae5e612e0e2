// zorla-exporta-cli: the window's consult and export, without the window.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <optional>

#include "CliArgs.h"
#include "Cp1252.h"
#include "DMVantero.h"
#include "Periodo.h"
#include "SinaisDeParada.h"
#include "TempoLimite.h"
#include "TerminalHost.h"
#include "TextUtil.h"
#include "ThProcessa.h"
#include "TravaPasta.h"

using namespace zorla;

namespace {

// The folder as "Continuar" takes it: blanks dropped, the path delimiter added when missing.
std::string diretorioDe(const std::string& pasta) {
    std::string d(trimControl(pasta));
    const char sep = std::filesystem::path::preferred_separator;
    if (d.empty() || d.back() != sep) d += sep;
    return d;
}

RunParameters parametros(const CliArgs& args) {
    RunParameters params;
    params.DataInicial = ComporData(args.diaInicial, args.mes, args.ano);
    params.DataFinal = ComporData(args.diaFinal, args.mes, args.ano);
    params.NomeArquivo = NomeArquivoPeriodo(std::to_string(args.diaInicial), std::to_string(args.diaFinal),
                                            AbreviaturaMes(args.mes - 1));
    params.empresa = args.empresa;
    params.codigoEmpresa = args.codigo;
    params.pastaDigitada = args.saida;
    params.Diretorio = diretorioDe(args.saida);
    return params;
}

bool empresaExiste(TFDMExporta& dm, int empresa) {
    ClientDataSet& empresas = dm.ClientEmpresaLocal;
    empresas.open();
    for (empresas.first(); !empresas.eof(); empresas.next())
        if (empresas.fieldByName("CODEMPRESA").asInteger() == empresa) return true;
    return false;
}

int exporta(TFDMExporta& dm, RunParameters params, TravaPasta trava, const std::atomic<bool>& cancelado) {
    TerminalHost host(cancelado, stderr, isatty(STDERR_FILENO) != 0);
    DiskFiles disco;
    ThProcessa run(dm, host, std::move(params), disco);
    run.mantemTrava(std::move(trava));
    run.start();
    run.wait();
    std::printf("Arquivos gravados:\n");
    for (const ArquivoGravado& a : run.arquivos())
        std::printf(a.completo ? "  %s: %ld linhas\n" : "  %s: incompleto, %ld linhas inteiras\n", a.caminho.c_str(),
                    a.linhas);
    return run.desfecho() == Desfecho::Concluido ? 0 : run.desfecho() == Desfecho::Cancelado ? -1 : 1;
}

std::string mensagemTempoEsgotado(int segundos) {
    return "Tempo limite de " + std::to_string(segundos) + " segundos esgotado: a exportação foi cancelada.";
}

// What the operator reads, and the exit status, when the run was stopped from outside.
int parado(const SinaisDeParada& sinais, int status, int limite) {
    if (sinais.motivo() == SinaisDeParada::kTempoEsgotado) {
        std::fprintf(stderr, "%s\n", mensagemTempoEsgotado(limite).c_str());
        return 1;
    }
    if (status != -1) std::fprintf(stderr, "%s\n", kMensagemCancelada);
    return 128 + sinais.motivo();
}

}  // namespace

int main(int argc, char** argv) {
    SinaisDeParada sinais;  // before anything else, the Firebird engine above all

    CliArgs args;
    RunParameters params;
    try {
        args = parseCliArgs(std::vector<std::string>(argv + 1, argv + argc));
        params = parametros(args);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n%s", e.what(), usoCli());
        return 2;
    }
    for (const std::string& aviso : args.avisos) std::fprintf(stderr, "%s\n", aviso.c_str());
    std::optional<TravaPasta> trava = TravaPasta::tenta(params.Diretorio);
    if (!trava) {
        std::fprintf(stderr, "%s\n", mensagemPastaOcupada(args.saida).c_str());
        return 1;
    }

    TFDMExporta dm(args.config.value_or(TFDMExporta::defaultConnectionFile()));
    // A consult under way is stopped on the server; a run stops before its next record.
    sinais.aoCancelar([&dm] { dm.SQLConnectionZORLA.cancelOperation(); });
    std::optional<TempoLimite> limite;
    if (args.tempoLimite)
        limite.emplace(
            std::chrono::seconds(*args.tempoLimite), [&] { sinais.cancela(SinaisDeParada::kTempoEsgotado); },
            [&] {
                // A server that no longer answers keeps the cancellation waiting too.
                std::fprintf(stderr, "%s\n", mensagemTempoEsgotado(*args.tempoLimite).c_str());
                std::_Exit(1);
            });
    int status = 0;
    try {
        if (!empresaExiste(dm, args.empresa)) {
            std::fprintf(stderr, "Empresa %d não encontrada.\n%s", args.empresa, usoCli());
            status = 2;
        } else {
            dm.ConsultaSaidas("S", params.DataInicial, params.DataFinal, args.empresa);
            status = exporta(dm, params, std::move(*trava), sinais.cancelado());
        }
    } catch (const std::exception& e) {
        if (!sinais.motivo()) std::fprintf(stderr, "%s\n", e.what());
        status = 1;
    }
    sinais.aoCancelar(nullptr);
    limite.reset();
    if (sinais.motivo()) return parado(sinais, status, args.tempoLimite.value_or(0));
    return status == -1 ? 130 : status;
}
