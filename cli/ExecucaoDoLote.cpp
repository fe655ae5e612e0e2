#include "cli/ExecucaoDoLote.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "base/TextUtil.h"
#include "base/TextoVisivel.h"
#include "cli/Terminal.h"
#include "data/BancoDaConexao.h"
#include "data/MensagemDaFalha.h"
#include "export/ArquivosAnteriores.h"
#include "export/ArquivosDaExecucao.h"
#include "export/ParametrosDaExecucao.h"
#include "export/Resumo.h"
#include "export/Sessao.h"
#include "sistema/ArquivoLateral.h"
#include "sistema/SinaisDeParada.h"

namespace zorla {

namespace {

// A message on one line of the terminal or the table; any other control character shown by its name.
std::string emUmaLinha(std::string texto) {
    std::replace(texto.begin(), texto.end(), '\r', ' ');
    std::replace(texto.begin(), texto.end(), '\n', ' ');
    return Visivel(texto);
}

std::mutex g_saida;  // the lines of the batch and the warnings of its exports, one at a time

// A line's run: its stage's progress for the overall line, its warnings with its name.
class EventosDoItem : public EventosDaExportacao {
public:
    EventosDoItem(AndamentoDoLote& a, std::string rotulo, bool terminal)
        : m_a(a), m_rotulo(std::move(rotulo)), m_terminal(terminal) {}
    void etapaIniciada(Etapa, int registros) override {
        m_a.maximo = registros;
        m_a.posicao = 0;
    }
    void registroFeito(int numero, std::string_view) override { m_a.posicao = numero; }
    void aviso(const Aviso& aviso) override {
        const std::string texto = emUmaLinha(aviso.texto);
        std::lock_guard lock(g_saida);
        std::fprintf(stderr, "%s%s: %s\n", m_terminal ? "\r\033[K" : "", m_rotulo.c_str(), texto.c_str());
    }

private:
    AndamentoDoLote& m_a;
    std::string m_rotulo;
    bool m_terminal;
};

}  // namespace

ExecucaoDoLote::ExecucaoDoLote(const Argumentos& args, std::vector<ItemDoLote> itens, SinaisDeParada& sinais)
    : m_args(args),
      m_itens(std::move(itens)),
      m_sinais(sinais),
      m_periodo(PeriodoDoMes(args.diaInicial, args.diaFinal, args.mes, args.ano)),
      m_terminal(isatty(STDERR_FILENO) != 0) {
    for (const ItemDoLote& item : m_itens) {
        auto a = std::make_unique<AndamentoDoLote>();
        a->banco = BancoEmbutido(item.conexao);
        m_andamentos.push_back(std::move(a));
    }
}

ExecucaoDoLote::~ExecucaoDoLote() {
    for (std::thread& t : m_threads)
        if (t.joinable()) t.join();
}

bool ExecucaoDoLote::podeIniciar(std::size_t i) const {
    const AndamentoDoLote& a = *m_andamentos[i];
    for (const auto& outro : m_andamentos) {
        if (outro->estado != AndamentoDoLote::Estado::Rodando) continue;
        if (!a.banco.empty() && outro->banco == a.banco) return false;
    }
    return true;
}

// Under the lock: starts what the limit and the shared databases allow, in the file's order.
void ExecucaoDoLote::iniciaOsQuePuderem() {
    for (std::size_t i = 0; i < m_andamentos.size() && m_rodando < m_args.tarefas; ++i) {
        AndamentoDoLote& a = *m_andamentos[i];
        if (a.estado != AndamentoDoLote::Estado::Esperando) continue;
        if (m_sinais.parada().stop_requested()) {
            a.estado = AndamentoDoLote::Estado::NaoIniciada;
            continue;
        }
        if (!podeIniciar(i)) continue;
        a.estado = AndamentoDoLote::Estado::Rodando;
        ++m_rodando;
        m_threads.emplace_back([this, i] { trabalho(i); });
        if (!m_terminal) {
            std::lock_guard lock(g_saida);
            std::fprintf(stderr, "%s: iniciada\n", m_tabela.rotulo(i).c_str());
        }
    }
}

void ExecucaoDoLote::trabalho(std::size_t i) {
    Fim fim;
    try {
        fim = executaItem(i);
    } catch (const std::exception& e) {
        fim = {
            m_sinais.parada().stop_requested() ? AndamentoDoLote::Estado::Cancelada : AndamentoDoLote::Estado::Falhou,
            MensagemDaFalhaDaConsulta(e, m_itens[i].conexao)};
    }
    // Only now, its folder unlocked and its database closed, may another line take them.
    termina(i, fim.estado, std::move(fim.erro));
}

ExecucaoDoLote::Fim ExecucaoDoLote::executaItem(std::size_t i) {
    const ItemDoLote& item = m_itens[i];
    AndamentoDoLote& a = *m_andamentos[i];
    Sessao sessao(item.conexao);
    // Lines run at once already keep the cores busy: each reads its queries in turn.
    if (std::min<std::size_t>(static_cast<std::size_t>(m_args.tarefas), m_andamentos.size()) > 1)
        sessao.umaConsultaPorVez();
    if (m_args.verificar) {
        a.verificacao = sessao.verifica(m_periodo, item.empresa, a.parada.get_token());
        using E = AndamentoDoLote::Estado;
        return {a.verificacao.erros() > 0    ? E::ComErros
                : a.verificacao.avisos() > 0 ? E::ComPendencias
                                             : E::Concluida,
                {}};
    }
    return exporta(i, sessao);
}

ExecucaoDoLote::Fim ExecucaoDoLote::exporta(std::size_t i, Sessao& sessao) {
    const ItemDoLote& item = m_itens[i];
    AndamentoDoLote& a = *m_andamentos[i];
    // The folder before the connection: a run must not fail on its first file after its queries.
    PedidoDeExportacao pedido(item.pasta, m_periodo, item.empresa, item.codigo);
    pedido.substitui = m_args.substituir;
    OuRecusa<SaidaPreparada> saida = sessao.preparaSaida(pedido, a.parada.get_token());
    if (!saida) return {AndamentoDoLote::Estado::Falhou, saida.recusa().mensagem};
    if (saida->pastaCriada()) {
        std::lock_guard lock(g_saida);
        std::fprintf(stderr, "%s%s: %s\n", m_terminal ? "\r\033[K" : "", m_tabela.rotulo(i).c_str(),
                     Visivel(MensagemPastaCriada(item.pasta)).c_str());
    }
    EventosDoItem eventos(a, m_tabela.rotulo(i), m_terminal);
    const auto run = sessao.exporta(std::move(*saida), eventos, a.parada.get_token());
    a.resultado = run->resultado();
    const Desfecho d = a.resultado.desfecho;
    const bool pendente = !a.resultado.semConta.empty();
    using E = AndamentoDoLote::Estado;
    return {d == Desfecho::Concluido   ? (pendente ? E::ComPendencias : E::Concluida)
            : d == Desfecho::Cancelado ? E::Cancelada
                                       : E::Falhou,
            a.resultado.erro};
}

void ExecucaoDoLote::termina(std::size_t i, AndamentoDoLote::Estado estado, std::string erro) {
    std::lock_guard lock(m_mutex);
    AndamentoDoLote& a = *m_andamentos[i];
    a.estado = estado;
    a.erro = emUmaLinha(std::move(erro));
    --m_rodando;
    m_mudou.notify_all();
}

int ExecucaoDoLote::executa() {
    // The program's stop stops every line: the statements under way, then the runs before their next record.
    const std::stop_callback aoParar(m_sinais.parada(), [this] {
        std::lock_guard lock(m_mutex);
        for (const auto& a : m_andamentos) a->parada.request_stop();
        m_mudou.notify_all();
    });
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            iniciaOsQuePuderem();
            const bool falta = std::any_of(m_andamentos.begin(), m_andamentos.end(), [](const auto& a) {
                return a->estado == AndamentoDoLote::Estado::Esperando || a->estado == AndamentoDoLote::Estado::Rodando;
            });
            if (!falta) break;
            m_mudou.wait_for(lock, std::chrono::milliseconds(200));
            mostraProgresso();
        }
    }
    for (std::thread& t : m_threads) t.join();
    m_threads.clear();
    imprimeResultado();
    return status();
}

// Under the lock. On a terminal one line, redrawn; elsewhere a line each time an export ends.
void ExecucaoDoLote::mostraProgresso() {
    std::lock_guard saida(g_saida);
    if (!m_terminal) {
        for (std::size_t i = 0; i < m_andamentos.size(); ++i) {
            AndamentoDoLote& a = *m_andamentos[i];
            if (a.relatado || a.estado == AndamentoDoLote::Estado::Esperando ||
                a.estado == AndamentoDoLote::Estado::Rodando)
                continue;
            a.relatado = true;
            std::fprintf(stderr, "%s: %s\n", m_tabela.rotulo(i).c_str(), m_tabela.resultado(i).c_str());
        }
        return;
    }
    int prontas = 0, falhas = 0;
    std::string andamento;
    for (std::size_t i = 0; i < m_andamentos.size(); ++i) {
        const AndamentoDoLote& a = *m_andamentos[i];
        prontas += Completou(a.estado);
        falhas += a.estado == AndamentoDoLote::Estado::Falhou;
        if (a.estado != AndamentoDoLote::Estado::Rodando) continue;
        const int maximo = a.maximo, posicao = a.posicao;
        andamento += ", " + m_tabela.rotulo(i) + " " + std::to_string(maximo > 0 ? posicao * 100 / maximo : 0) + "%";
    }
    std::fprintf(stderr, "\r\033[KLote: %d de %zu concluídas, %d falharam%s", prontas, m_andamentos.size(), falhas,
                 andamento.c_str());
    std::fflush(stderr);
}

void ExecucaoDoLote::imprimeResultado() const {
    std::lock_guard saida(g_saida);
    if (m_terminal) std::fprintf(stderr, "\r\033[K");
    if (m_args.verificar)
        m_tabela.verificacoes(m_args.csv);
    else
        m_tabela.exportacoes();
}

void ExecucaoDoLote::imprimeAoDesistir() const {
    // A line frozen while it reports would hold the lock: the states are read without it after a while.
    std::unique_lock lock(m_mutex, std::defer_lock);
    for (int tentativa = 0; tentativa < 100 && !lock.try_lock(); ++tentativa)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::printf("%sLote interrompido:\n", m_terminal ? "\r\033[K" : "");
    for (std::size_t i = 0; i < m_andamentos.size(); ++i) {
        const AndamentoDoLote::Estado e = m_andamentos[i]->estado;
        const std::string estado = e == AndamentoDoLote::Estado::Rodando
                                       ? "cancelada no meio: arquivos incompletos, não importe"
                                   : e == AndamentoDoLote::Estado::Esperando ? "não iniciada"
                                                                             : NomeDoEstado(e);
        std::printf("  %s, pasta %s: %s\n", m_tabela.rotulo(i).c_str(), Visivel(m_itens[i].pasta).c_str(),
                    estado.c_str());
    }
    std::fflush(stdout);
}

int ExecucaoDoLote::status() const {
    if (m_sinais.motivo() > 0) return 128 + m_sinais.motivo();
    bool falhou = false, erros = false, avisos = false;
    for (const auto& a : m_andamentos) {
        const bool pendente = a->estado == AndamentoDoLote::Estado::ComPendencias;
        falhou = falhou || !Completou(a->estado);
        erros = erros || a->verificacao.erros() > 0;
        avisos = avisos || a->verificacao.avisos() > 0 || pendente;
    }
    return falhou ? 1 : erros ? kStatusErros : avisos ? kStatusAvisos : 0;
}

std::vector<std::pair<LinhaDoLote, const ResultadoDaExportacao*>> ExecucaoDoLote::concluidas() const {
    std::vector<std::pair<LinhaDoLote, const ResultadoDaExportacao*>> out;
    for (std::size_t i = 0; i < m_itens.size(); ++i)
        if (Completou(m_andamentos[i]->estado) && !m_args.verificar)
            out.emplace_back(LinhaDoLote{m_itens[i].linha, m_itens[i].conexao, m_itens[i].empresa},
                             &m_andamentos[i]->resultado);
    return out;
}

namespace {
// What a line's folder holds that its export may not take: a link among its file names; another export's files,
// unless their replacement was asked for.
OuRecusa<void> examinaAPasta(const Argumentos& args, const ItemDoLote& item, const Periodo& periodo) {
    const PedidoDeExportacao pedido(item.pasta, periodo, item.empresa, item.codigo);
    const ParametrosDaExecucao params = ParametrosDoPedido(pedido);
    if (OuRecusa<void> nomes = ExaminaOsNomes(params.Diretorio, params.NomeArquivo); !nomes) return nomes;
    if (args.substituir) return {};
    // Each line reads them again under its folder's lock, and keeps their records then.
    return AceitaOsAnteriores(ExaminaArquivosAnteriores(params, false), std::string(trimControl(item.pasta)));
}

// What keeps the batch from starting: what a line's folder holds, a totals file that is one of the files the batch
// reads or writes.
OuRecusa<void> examinaAntes(const Argumentos& args, const std::vector<ItemDoLote>& itens) {
    const Periodo periodo = PeriodoDoMes(args.diaInicial, args.diaFinal, args.mes, args.ano);
    ArquivosDaExecucao arquivos;
    arquivos.lido(args.lote);
    for (const ItemDoLote& item : itens) {
        if (!args.verificar)
            if (OuRecusa<void> pasta = examinaAPasta(args, item, periodo); !pasta)
                return Recusa{"lote, linha " + std::to_string(item.linha) + ": " + pasta.recusa().mensagem};
        arquivos.conexao(item.conexao);
        arquivos.saida(DiretorioDe(item.pasta), periodo.NomeArquivo);
    }
    return args.resumo ? arquivos.aceita(*args.resumo) : OuRecusa<void>();
}
}  // namespace

int ExecutaLote(const Argumentos& args, SinaisDeParada& sinais) {
    OuRecusa<std::vector<ItemDoLote>> itens = LeLote(args.lote);
    if (!itens) return DizARecusa(itens.recusa());
    if (!args.verificar)
        if (OuRecusa<void> pastas = ExaminaPastasRepetidas(*itens); !pastas) return DizARecusa(pastas.recusa());
    if (OuRecusa<void> antes = examinaAntes(args, *itens); !antes) return DizARecusa(antes.recusa());
    const std::string cancelada = args.verificar ? "Verificação cancelada!" : kMensagemCancelada;
    DesisteCom(sinais, 0, cancelada);
    ExecucaoDoLote lote(args, std::move(*itens), sinais);
    EncerraAoDesistir(sinais, [&lote, cancelada](int) {
        lote.imprimeAoDesistir();
        return cancelada;
    });
    int status = lote.executa();
    sinais.aoDesistir(nullptr);
    // Once, as an export says it.
    if (sinais.motivo() > 0) std::fprintf(stderr, "%s\n", cancelada.c_str());
    if (!args.resumo) return status;
    try {
        GravaArquivoLateral(*args.resumo, CsvDoResumoDoLote(lote.concluidas()));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", Visivel(e.what()).c_str());
        if (status == 0 || status == kStatusPendencias) status = 1;
    }
    return status;
}

}  // namespace zorla
