#include "cli/Comandos.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

#include "base/Documentos.h"
#include "base/Formatacao.h"
#include "base/TextUtil.h"
#include "base/TextoVisivel.h"
#include "cli/EventosNoTerminal.h"
#include "cli/TempoLimite.h"
#include "cli/Terminal.h"
#include "data/MensagemDaFalha.h"
#include "export/EmpresaNaoEncontrada.h"
#include "export/Pendencias.h"
#include "export/Resumo.h"
#include "sistema/ArquivoLateral.h"
#include "sistema/SinaisDeParada.h"
#include "verificacao/Verificacao.h"

namespace zorla {

namespace {

constexpr int kCanceladoPelaExportacao = -1;  // the run ended cancelled: the exit status depends on why

std::unique_ptr<TempoLimite> limiteDe(const Argumentos& args, SinaisDeParada& sinais) {
    if (!args.tempoLimite) return nullptr;
    return std::make_unique<TempoLimite>(std::chrono::seconds(*args.tempoLimite),
                                         [&sinais] { sinais.cancela(SinaisDeParada::kTempoEsgotado); });
}

// What the operator reads, and the exit status, when the work was stopped from outside.
int parado(const SinaisDeParada& sinais, int status, int limite, const char* mensagem) {
    if (sinais.motivo() == SinaisDeParada::kTempoEsgotado) {
        std::fprintf(stderr, "%s\n", MensagemTempoEsgotado(limite).c_str());
        return 1;
    }
    if (status != kCanceladoPelaExportacao) std::fprintf(stderr, "%s\n", mensagem);
    return 128 + sinais.motivo();
}

std::string arquivoDeConexao(const Argumentos& args) { return args.config.value_or(Sessao::ArquivoDeConexaoPadrao()); }

// Runs the work with signals and the time limit stopping it; the exit status. A company the connection does not
// have is an argument error, told with the usage.
template <class Trabalho>
int comCancelamento(const Argumentos& args, SinaisDeParada& sinais, Sessao& sessao, const char* mensagem,
                    Trabalho&& trabalho) {
    DesisteCom(sinais, args.tempoLimite.value_or(0), mensagem);
    std::unique_ptr<TempoLimite> limite = limiteDe(args, sinais);
    int status = 1;
    try {
        status = trabalho(sinais.parada());
    } catch (const EmpresaNaoEncontrada& e) {
        status = DizARecusa(RecusaDaEmpresa(e.codigo()));
    } catch (const std::exception& e) {
        if (!sinais.motivo())
            std::fprintf(stderr, "%s\n",
                         LinhasVisiveis(MensagemDaFalhaDaConsulta(e, sessao.arquivoDeConexao())).c_str());
    }
    limite.reset();
    sinais.aoDesistir(nullptr);
    if (sinais.motivo()) return parado(sinais, status, args.tempoLimite.value_or(0), mensagem);
    return status == kCanceladoPelaExportacao ? 130 : status;
}

// Each file and its lines; a run that did not end whole leaves none to import.
void listaArquivos(const ResultadoDaExportacao& r) {
    std::printf("Arquivos gravados:\n");
    for (const ArquivoGravado& a : r.arquivos) {
        std::string estado = Quantidade(a.linhas, "linha", "linhas");
        if (!a.completo || r.desfecho != Desfecho::Concluido)
            estado = "incompleto, não importe (" + Quantidade(a.linhas, "linha inteira", "linhas inteiras") + ")";
        if (a.substituido) estado += ", " + TextoDaSubstituicao(a);
        std::printf("  %s: %s\n", Visivel(a.caminho).c_str(), estado.c_str());
    }
    for (const std::string& apagado : r.apagados) std::printf("  %s: %s\n", Visivel(apagado).c_str(), kApagado);
}

// The totals after the files, and in their CSV file when asked for.
int resumo(const Argumentos& args, const ResultadoDaExportacao& r) {
    std::printf("%s", TextoDoResumo(r).c_str());
    if (!args.resumo) return 0;
    try {
        GravaArquivoLateral(*args.resumo, CsvDoResumo(r));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", Visivel(e.what()).c_str());
        return 1;
    }
}

int exporta(const Argumentos& args, SaidaPreparada saida, Sessao& sessao, std::stop_token parada) {
    EventosNoTerminal host(stderr, isatty(STDERR_FILENO) != 0, args.saida);
    const auto run = sessao.exporta(std::move(saida), host, std::move(parada));
    const ResultadoDaExportacao& r = run->resultado();
    listaArquivos(r);
    switch (r.desfecho) {
        case Desfecho::Concluido: {
            const int status = resumo(args, r);
            if (status != 0 || r.semConta.empty()) return status;
            std::printf("%s", TextoDasPendencias(r).c_str());
            return kStatusPendencias;
        }
        case Desfecho::Cancelado:
            return kCanceladoPelaExportacao;
        case Desfecho::Falhou:
            return 1;
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
    for (const auto& l : linhas) {
        codigo = std::max(codigo, LarguraNoTerminal(l[0]));
        nome = std::max(nome, LarguraNoTerminal(l[1]));
    }
    std::string tabela;
    for (const auto& l : linhas) {
        std::string linha = std::string(codigo - LarguraNoTerminal(l[0]), ' ') + l[0] + "  " + l[1];
        if (!l[2].empty()) linha += std::string(nome - LarguraNoTerminal(l[1]) + 2, ' ') + l[2];
        tabela += linha + "\n";
    }
    return tabela;
}

int Exporta(const Argumentos& args, SinaisDeParada& sinais) {
    Sessao sessao(arquivoDeConexao(args));
    PedidoDeExportacao pedido(args.saida, PeriodoDoMes(args.diaInicial, args.diaFinal, args.mes, args.ano),
                              args.empresa, args.codigo);
    pedido.arquivoDosTotais = args.resumo;
    pedido.substitui = args.substituir;
    return comCancelamento(args, sinais, sessao, kMensagemCancelada, [&](std::stop_token parada) {
        OuRecusa<SaidaPreparada> saida = sessao.preparaSaida(pedido, parada);
        if (!saida) return DizARecusa(saida.recusa());
        if (saida->pastaCriada())
            std::fprintf(stderr, "%s\n", Visivel(MensagemPastaCriada(std::string(trimControl(args.saida)))).c_str());
        return exporta(args, std::move(*saida), sessao, std::move(parada));
    });
}

int Verifica(const Argumentos& args, SinaisDeParada& sinais) {
    const Periodo periodo = PeriodoDoMes(args.diaInicial, args.diaFinal, args.mes, args.ano);
    Sessao sessao(arquivoDeConexao(args));
    return comCancelamento(args, sinais, sessao, "Verificação cancelada!", [&](std::stop_token parada) {
        const ContagemDaVerificacao c =
            sessao.verificaParaASaida(periodo, args.empresa, args.csv, Imprime, std::move(parada));
        return c.erros > 0 ? kStatusErros : c.avisos > 0 ? kStatusAvisos : 0;
    });
}

int ListaEmpresas(const Argumentos& args, SinaisDeParada& sinais) {
    Sessao sessao(arquivoDeConexao(args));
    return comCancelamento(args, sinais, sessao, "Listagem das empresas cancelada!", [&](std::stop_token parada) {
        std::printf("%s", TabelaDasEmpresas(sessao.empresas(std::move(parada))).c_str());
        return 0;
    });
}

}  // namespace zorla
