#include "app/Comandos.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/SinaisDeParada.h"
#include "app/TempoLimite.h"
#include "app/TerminalHost.h"
#include "base/Documentos.h"
#include "base/TextUtil.h"
#include "base/TextoVisivel.h"
#include "data/DMVantero.h"
#include "export/ArquivoLateral.h"
#include "export/ArquivosDaExportacao.h"
#include "export/EmpresaNaoEncontrada.h"
#include "export/MensagemDaFalha.h"
#include "export/OutputFiles.h"
#include "export/PastaDeSaida.h"
#include "export/Pendencias.h"
#include "export/Resumo.h"
#include "export/Sessao.h"
#include "export/ThProcessa.h"
#include "export/TravaPasta.h"
#include "export/Verificacao.h"

namespace zorla {

namespace {

constexpr int kCanceladoPelaExportacao = -1;  // the run ended cancelled: the exit status depends on why

std::unique_ptr<TempoLimite> limiteDe(const CliArgs& args, SinaisDeParada& sinais) {
    if (!args.tempoLimite) return nullptr;
    return std::make_unique<TempoLimite>(std::chrono::seconds(*args.tempoLimite),
                                         [&sinais] { sinais.cancela(SinaisDeParada::kTempoEsgotado); });
}

// What the operator reads, and the exit status, when the work was stopped from outside.
int parado(const SinaisDeParada& sinais, int status, int limite, const char* mensagem) {
    if (sinais.motivo() == SinaisDeParada::kTempoEsgotado) {
        std::fprintf(stderr, "%s\n", mensagemTempoEsgotado(limite).c_str());
        return 1;
    }
    if (status != kCanceladoPelaExportacao) std::fprintf(stderr, "%s\n", mensagem);
    return 128 + sinais.motivo();
}

// Runs the work with signals and the time limit cancelling whatever runs on the connection; the exit status.
// A company the connection does not have is an argument error, told with the usage.
template <class Trabalho>
int comCancelamento(const CliArgs& args, SinaisDeParada& sinais, TFDMExporta& dm, const char* mensagem,
                    Trabalho&& trabalho) {
    DesisteCom(sinais, args.tempoLimite.value_or(0), mensagem);
    Sessao sessao(dm);
    sinais.aoCancelar([&sessao] { sessao.cancela(); });
    std::unique_ptr<TempoLimite> limite = limiteDe(args, sinais);
    int status = 1;
    try {
        status = trabalho(sessao);
    } catch (const EmpresaNaoEncontrada& e) {
        std::fprintf(stderr, "%s\n%s", e.what(), usoCli());
        status = kSaidaArgumentos;
    } catch (const std::exception& e) {
        if (!sinais.motivo())
            std::fprintf(stderr, "%s\n", LinhasVisiveis(MensagemDaFalha(e, dm.connectionFile())).c_str());
    }
    sinais.aoCancelar(nullptr);
    limite.reset();
    sinais.aoDesistir(nullptr);
    if (sinais.motivo()) return parado(sinais, status, args.tempoLimite.value_or(0), mensagem);
    return status == kCanceladoPelaExportacao ? 130 : status;
}

void listaArquivos(const ResultadoDaExportacao& r) {
    std::printf("Arquivos gravados:\n");
    for (const ArquivoGravado& a : r.arquivos)
        std::printf(a.completo ? "  %s: %ld linhas\n" : "  %s: incompleto, %ld linhas inteiras\n",
                    Visivel(a.caminho).c_str(), a.linhas);
    for (const std::string& apagado : r.apagados) std::printf("  %s: %s\n", Visivel(apagado).c_str(), kApagado);
}

// The totals after the files, and in their CSV file when asked for.
int resumo(const CliArgs& args, const ResultadoDaExportacao& r) {
    std::printf("%s", TextoDoResumo(r).c_str());
    return !args.resumo || gravaArquivo(*args.resumo, CsvDoResumo(r)) ? 0 : 1;
}

// What keeps the export from starting, said before it connects: a link among its file names, a totals file that
// is one of the files it reads or writes.
std::optional<std::string> recusaAntes(const CliArgs& args, const std::string& diretorio, const Periodo& periodo) {
    if (auto recusa = RecusaDaSaida(diretorio, periodo.NomeArquivo)) return recusa;
    if (!args.resumo) return std::nullopt;
    ArquivosDaExecucao arquivos;
    arquivos.conexao(args.config.value_or(TFDMExporta::defaultConnectionFile()));
    arquivos.saida(diretorio, periodo.NomeArquivo);
    return arquivos.recusa(*args.resumo);
}

int exporta(const CliArgs& args, const Periodo& periodo, const std::string& diretorio, TravaPasta trava, Sessao& sessao,
            const SinaisDeParada& sinais) {
    TerminalHost host(stderr, isatty(STDERR_FILENO) != 0, args.saida);
    DiskFiles disco;
    const auto run = sessao.exporta(ParametrosDaExportacao(diretorio, periodo, args.empresa, args.codigo), host,
                                    sinais.cancelado(), disco, std::move(trava));
    const ResultadoDaExportacao& r = run->resultado();
    listaArquivos(r);
    switch (r.desfecho) {
        case Desfecho::Concluido: {
            const int status = resumo(args, r);
            if (status != 0 || r.semConta.empty()) return status;
            std::printf("%s", TextoDasPendencias(r).c_str());
            return kSaidaPendencias;
        }
        case Desfecho::Cancelado: return kCanceladoPelaExportacao;
        case Desfecho::Falhou: return 1;
    }
    return 1;
}

}  // namespace

std::string TabelaDasEmpresas(const std::vector<Empresa>& empresas) {
    std::vector<std::array<std::string, 3>> linhas = {{"Código", "Nome fantasia", "CNPJ"}};
    for (const Empresa& e : empresas)
        linhas.push_back({std::to_string(e.codigo), VisivelCp1252(trimControl(e.fantasia)),
                          VisivelCp1252(CnpjFormatado(trimControl(e.cnpj)))});
    std::size_t codigo = 0, nome = 0;
    for (const auto& l : linhas) codigo = std::max(codigo, LarguraNoTerminal(l[0])), nome = std::max(nome, LarguraNoTerminal(l[1]));
    std::string tabela;
    for (const auto& l : linhas) {
        std::string linha = std::string(codigo - LarguraNoTerminal(l[0]), ' ') + l[0] + "  " + l[1];
        if (!l[2].empty()) linha += std::string(nome - LarguraNoTerminal(l[1]) + 2, ' ') + l[2];
        tabela += linha + "\n";
    }
    return tabela;
}

bool gravaArquivo(const std::string& caminho, const std::string& bytes) {
    try {
        GravaArquivoLateral(caminho, bytes);
        return true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", Visivel(e.what()).c_str());
        return false;
    }
}

void DesisteCom(SinaisDeParada& sinais, int segundosDoLimite, std::string mensagem) {
    sinais.aoDesistir([segundosDoLimite, mensagem = std::move(mensagem)](int motivo) {
        CortaArquivosAbertos();
        ApagaArquivosLateraisIncompletos();
        const bool tempo = motivo == SinaisDeParada::kTempoEsgotado;
        std::fprintf(stderr, "%s%s\n", isatty(STDERR_FILENO) ? "\r\033[K" : "",
                     tempo ? mensagemTempoEsgotado(segundosDoLimite).c_str() : mensagem.c_str());
        std::fflush(stderr);
        std::_Exit(tempo ? 1 : 128 + motivo);
    });
}

std::string mensagemTempoEsgotado(int segundos) {
    return "Tempo limite de " + std::to_string(segundos) + " segundos esgotado: a exportação foi cancelada.";
}

int Exporta(const CliArgs& args, SinaisDeParada& sinais) {
    const Periodo periodo = PeriodoDoMes(args.diaInicial, args.diaFinal, args.mes, args.ano);
    const std::string diretorio = DiretorioDe(args.saida);
    if (auto recusa = recusaAntes(args, diretorio, periodo)) {
        std::fprintf(stderr, "%s\n", Visivel(*recusa).c_str());
        return kSaidaArgumentos;
    }
    const std::string pasta(trimControl(args.saida));
    bool criada = false;
    if (const std::string erro = PreparaPasta(pasta, criada); !erro.empty()) {
        std::fprintf(stderr, "%s\n", Visivel(erro).c_str());
        return 1;
    }
    if (criada) std::fprintf(stderr, "%s\n", Visivel(mensagemPastaCriada(pasta)).c_str());
    std::optional<TravaPasta> trava = TravaPasta::tenta(diretorio);
    if (!trava) {
        std::fprintf(stderr, "%s\n", mensagemPastaOcupada(args.saida).c_str());
        return 1;
    }
    TFDMExporta dm(args.config.value_or(TFDMExporta::defaultConnectionFile()));
    return comCancelamento(args, sinais, dm, kMensagemCancelada, [&](Sessao& sessao) {
        return exporta(args, periodo, diretorio, std::move(*trava), sessao, sinais);
    });
}

int Verifica(const CliArgs& args, SinaisDeParada& sinais) {
    const Periodo periodo = PeriodoDoMes(args.diaInicial, args.diaFinal, args.mes, args.ano);
    TFDMExporta dm(args.config.value_or(TFDMExporta::defaultConnectionFile()));
    return comCancelamento(args, sinais, dm, "Verificação cancelada!", [&](Sessao& sessao) {
        const ContagemDaVerificacao c = sessao.verificaParaASaida(periodo, args.empresa, args.csv, EscreveNaSaida);
        return c.erros > 0 ? kSaidaErros : c.avisos > 0 ? kSaidaAvisos : 0;
    });
}

int ListaEmpresas(const CliArgs& args, SinaisDeParada& sinais) {
    TFDMExporta dm(args.config.value_or(TFDMExporta::defaultConnectionFile()));
    return comCancelamento(args, sinais, dm, "Listagem das empresas cancelada!", [&](Sessao& sessao) {
        std::printf("%s", TabelaDasEmpresas(sessao.empresas()).c_str());
        return 0;
    });
}

}  // namespace zorla
