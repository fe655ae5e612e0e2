// zorla-exporta-cli: the window's consult and export, without the window.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>

#include "app/CliArgs.h"
#include "app/SinaisDeParada.h"
#include "app/TempoLimite.h"
#include "app/TerminalHost.h"
#include "data/DMVantero.h"
#include "export/Sessao.h"
#include "export/ThProcessa.h"
#include "export/TravaPasta.h"

using namespace zorla;

namespace {

constexpr int kCanceladoPelaExportacao = -1;  // the run ended cancelled: the exit status depends on why

std::string mensagemTempoEsgotado(int segundos) {
    return "Tempo limite de " + std::to_string(segundos) + " segundos esgotado: a exportação foi cancelada.";
}

void listaArquivos(const ResultadoDaExportacao& r) {
    std::printf("Arquivos gravados:\n");
    for (const ArquivoGravado& a : r.arquivos)
        std::printf(a.completo ? "  %s: %ld linhas\n" : "  %s: incompleto, %ld linhas inteiras\n", a.caminho.c_str(),
                    a.linhas);
}

// The consult, then the run; the exit status.
int exporta(const CliArgs& args, const Periodo& periodo, const std::string& diretorio, TravaPasta trava,
            TFDMExporta& dm, const SinaisDeParada& sinais) {
    Sessao sessao(dm);
    bool achou = false;
    for (const Empresa& e : sessao.empresas()) achou = achou || e.codigo == args.empresa;
    if (!achou) {
        std::fprintf(stderr, "Empresa %d não encontrada.\n%s", args.empresa, usoCli());
        return 2;
    }
    sessao.consulta(periodo, args.empresa);
    TerminalHost host(stderr, isatty(STDERR_FILENO) != 0, args.saida);
    DiskFiles disco;
    ThProcessa run(dm, host, sinais.cancelado(), ParametrosDaExportacao(diretorio, periodo, args.empresa, args.codigo),
                   disco);
    run.mantemTrava(std::move(trava));
    run.start();
    run.wait();
    listaArquivos(run.resultado());
    switch (run.resultado().desfecho) {
        case Desfecho::Concluido: return 0;
        case Desfecho::Cancelado: return kCanceladoPelaExportacao;
        case Desfecho::Falhou: return 1;
    }
    return 1;
}

// What the operator reads, and the exit status, when the program was stopped from outside.
int parado(const SinaisDeParada& sinais, int status, int limite) {
    if (sinais.motivo() == SinaisDeParada::kTempoEsgotado) {
        std::fprintf(stderr, "%s\n", mensagemTempoEsgotado(limite).c_str());
        return 1;
    }
    if (status != kCanceladoPelaExportacao) std::fprintf(stderr, "%s\n", kMensagemCancelada);
    return 128 + sinais.motivo();
}

std::unique_ptr<TempoLimite> limiteDe(const CliArgs& args, SinaisDeParada& sinais) {
    if (!args.tempoLimite) return nullptr;
    const int segundos = *args.tempoLimite;
    return std::make_unique<TempoLimite>(
        std::chrono::seconds(segundos), [&sinais] { sinais.cancela(SinaisDeParada::kTempoEsgotado); },
        [segundos] {
            // A server that no longer answers keeps the cancellation waiting too.
            std::fprintf(stderr, "%s\n", mensagemTempoEsgotado(segundos).c_str());
            std::_Exit(1);
        });
}

}  // namespace

int main(int argc, char** argv) {
    SinaisDeParada sinais;  // before anything else, the Firebird engine above all
    CliArgs args;
    Periodo periodo;
    try {
        args = parseCliArgs(std::vector<std::string>(argv + 1, argv + argc));
        periodo = PeriodoDoMes(args.diaInicial, args.diaFinal, args.mes, args.ano);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n%s", e.what(), usoCli());
        return 2;
    }
    for (const std::string& aviso : args.avisos) std::fprintf(stderr, "%s\n", aviso.c_str());
    const std::string diretorio = DiretorioDe(args.saida);
    std::optional<TravaPasta> trava = TravaPasta::tenta(diretorio);
    if (!trava) {
        std::fprintf(stderr, "%s\n", mensagemPastaOcupada(args.saida).c_str());
        return 1;
    }

    TFDMExporta dm(args.config.value_or(TFDMExporta::defaultConnectionFile()));
    // A consult under way is stopped on the server; a run stops before its next record.
    sinais.aoCancelar([&dm] { dm.SQLConnectionZORLA.cancelOperation(); });
    std::unique_ptr<TempoLimite> limite = limiteDe(args, sinais);
    int status = 1;
    try {
        status = exporta(args, periodo, diretorio, std::move(*trava), dm, sinais);
    } catch (const std::exception& e) {
        if (!sinais.motivo()) std::fprintf(stderr, "%s\n", e.what());
    }
    sinais.aoCancelar(nullptr);
    limite.reset();
    if (sinais.motivo()) return parado(sinais, status, args.tempoLimite.value_or(0));
    return status == kCanceladoPelaExportacao ? 130 : status;
}
