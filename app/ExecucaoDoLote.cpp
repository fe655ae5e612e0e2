#include "app/ExecucaoDoLote.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "app/Comandos.h"
#include "app/SinaisDeParada.h"
#include "base/TextUtil.h"
#include "base/TextoVisivel.h"
#include "data/DMVantero.h"
#include "export/ArquivosDaExportacao.h"
#include "export/BancoDaConexao.h"
#include "export/MensagemDaFalha.h"
#include "export/OutputFiles.h"
#include "export/PastaDeSaida.h"
#include "export/Pendencias.h"
#include "export/Resumo.h"
#include "export/Sessao.h"
#include "export/ThProcessa.h"
#include "export/TravaPasta.h"

namespace zorla {

namespace {

// A message on one line of the terminal or the table; any other control character shown by its name.
std::string emUmaLinha(std::string texto) {
    std::replace(texto.begin(), texto.end(), '\r', ' ');
    std::replace(texto.begin(), texto.end(), '\n', ' ');
    return Visivel(texto);
}

// A line's run: its stage's progress for the overall line, its warnings with its name.
class EventosDoItem : public EventosDaExportacao {
public:
    EventosDoItem(ExecucaoDoLote::Andamento& a, std::string rotulo, std::mutex& saida, bool terminal)
        : m_a(a), m_rotulo(std::move(rotulo)), m_saida(saida), m_terminal(terminal) {}
    void etapaIniciada(Etapa, int registros) override {
        m_a.maximo = registros;
        m_a.posicao = 0;
    }
    void registroFeito(int numero, std::string_view) override { m_a.posicao = numero; }
    void aviso(const Aviso& aviso) override {
        const std::string texto = emUmaLinha(aviso.texto);
        std::lock_guard lock(m_saida);
        std::fprintf(stderr, "%s%s: %s\n", m_terminal ? "\r\033[K" : "", m_rotulo.c_str(), texto.c_str());
    }

private:
    ExecucaoDoLote::Andamento& m_a;
    std::string m_rotulo;
    std::mutex& m_saida;
    bool m_terminal;
};

std::mutex g_saida;  // the lines of the batch and the warnings of its exports, one at a time

}  // namespace

ExecucaoDoLote::ExecucaoDoLote(const CliArgs& args, std::vector<ItemDoLote> itens, SinaisDeParada& sinais)
    : m_args(args),
      m_itens(std::move(itens)),
      m_sinais(sinais),
      m_periodo(PeriodoDoMes(args.diaInicial, args.diaFinal, args.mes, args.ano)),
      m_terminal(isatty(STDERR_FILENO) != 0) {
    for (const ItemDoLote& item : m_itens) {
        auto a = std::make_unique<Andamento>();
        a->banco = BancoEmbutido(item.conexao);
        m_andamentos.push_back(std::move(a));
    }
}

ExecucaoDoLote::~ExecucaoDoLote() {
    for (std::thread& t : m_threads)
        if (t.joinable()) t.join();
}

std::string ExecucaoDoLote::rotulo(std::size_t i) const {
    return "empresa " + std::to_string(m_itens[i].empresa) + " (linha " + std::to_string(m_itens[i].linha) + ")";
}

bool ExecucaoDoLote::podeIniciar(std::size_t i) const {
    const Andamento& a = *m_andamentos[i];
    for (const auto& outro : m_andamentos) {
        if (outro->estado != Andamento::Estado::Rodando) continue;
        if (!a.banco.empty() && outro->banco == a.banco) return false;
    }
    return true;
}

// Under the lock: starts what the limit and the shared folders and databases allow, in the file's order.
void ExecucaoDoLote::iniciaOsQuePuderem() {
    for (std::size_t i = 0; i < m_andamentos.size() && m_rodando < m_args.tarefas; ++i) {
        Andamento& a = *m_andamentos[i];
        if (a.estado != Andamento::Estado::Esperando) continue;
        if (m_sinais.cancelado()) {
            a.estado = Andamento::Estado::Cancelada;
            continue;
        }
        if (!podeIniciar(i)) continue;
        a.estado = Andamento::Estado::Rodando;
        ++m_rodando;
        m_threads.emplace_back([this, i] { trabalho(i); });
        if (!m_terminal) {
            std::lock_guard lock(g_saida);
            std::fprintf(stderr, "%s: iniciada\n", rotulo(i).c_str());
        }
    }
}

void ExecucaoDoLote::trabalho(std::size_t i) {
    Fim fim;
    try {
        fim = executaItem(i);
    } catch (const std::exception& e) {
        fim = {m_sinais.cancelado() ? Andamento::Estado::Cancelada : Andamento::Estado::Falhou,
               MensagemDaFalha(e, m_itens[i].conexao)};
    }
    // Only now, its folder unlocked and its database closed, may another line take them.
    termina(i, fim.estado, std::move(fim.erro));
}

ExecucaoDoLote::Fim ExecucaoDoLote::executaItem(std::size_t i) {
    const ItemDoLote& item = m_itens[i];
    Andamento& a = *m_andamentos[i];
    // The folder before the connection: a run must not fail on its first file after its queries.
    if (!m_args.verificar) {
        bool criada = false;
        if (std::string erro = PreparaPasta(item.pasta, criada); !erro.empty())
            return {Andamento::Estado::Falhou, std::move(erro)};
        if (criada) {
            std::lock_guard lock(g_saida);
            std::fprintf(stderr, "%s%s: %s\n", m_terminal ? "\r\033[K" : "", rotulo(i).c_str(),
                         Visivel(mensagemPastaCriada(item.pasta)).c_str());
        }
    }
    TFDMExporta dm(item.conexao);
    Sessao sessao(dm);
    // Lines run at once already keep the cores busy: each reads its queries in turn.
    if (std::min<std::size_t>(static_cast<std::size_t>(m_args.tarefas), m_andamentos.size()) > 1)
        sessao.umaConsultaPorVez();
    {
        std::lock_guard lock(m_mutex);
        a.sessao = &sessao;
    }
    struct Solta {  // the cancel no longer reaches a connection about to go
        ExecucaoDoLote& e;
        Andamento& a;
        ~Solta() {
            std::lock_guard lock(e.m_mutex);
            a.sessao = nullptr;
        }
    } solta{*this, a};
    if (m_args.verificar) {
        a.verificacao = sessao.verifica(m_periodo, item.empresa);
        return {Andamento::Estado::Concluida, {}};
    }
    return exporta(i, sessao);
}

ExecucaoDoLote::Fim ExecucaoDoLote::exporta(std::size_t i, Sessao& sessao) {
    const ItemDoLote& item = m_itens[i];
    Andamento& a = *m_andamentos[i];
    const std::string diretorio = DiretorioDe(item.pasta);
    std::optional<TravaPasta> trava = TravaPasta::tenta(diretorio);
    if (!trava) return {Andamento::Estado::Falhou, mensagemPastaOcupada(item.pasta)};
    EventosDoItem eventos(a, rotulo(i), g_saida, m_terminal);
    DiskFiles disco;
    const auto run = sessao.exporta(ParametrosDaExportacao(diretorio, m_periodo, item.empresa, item.codigo), eventos,
                                    m_sinais.cancelado(), disco, std::move(*trava));
    a.resultado = run->resultado();
    const Desfecho d = a.resultado.desfecho;
    const bool pendente = !a.resultado.semConta.empty();
    return {d == Desfecho::Concluido   ? (pendente ? Andamento::Estado::ComPendencias : Andamento::Estado::Concluida)
            : d == Desfecho::Cancelado ? Andamento::Estado::Cancelada
                                       : Andamento::Estado::Falhou,
            a.resultado.erro};
}

void ExecucaoDoLote::termina(std::size_t i, Andamento::Estado estado, std::string erro) {
    std::lock_guard lock(m_mutex);
    Andamento& a = *m_andamentos[i];
    a.estado = estado;
    a.erro = emUmaLinha(std::move(erro));
    --m_rodando;
    m_mudou.notify_all();
}

int ExecucaoDoLote::executa() {
    // A signal stops the statements under way; the runs then stop before their next record.
    m_sinais.aoCancelar([this] {
        std::lock_guard lock(m_mutex);
        for (const auto& a : m_andamentos)
            if (a->sessao) a->sessao->cancela();
        m_mudou.notify_all();
    });
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            iniciaOsQuePuderem();
            const bool falta = std::any_of(m_andamentos.begin(), m_andamentos.end(), [](const auto& a) {
                return a->estado == Andamento::Estado::Esperando || a->estado == Andamento::Estado::Rodando;
            });
            if (!falta) break;
            const bool mudou = m_mudou.wait_for(lock, std::chrono::milliseconds(200)) == std::cv_status::no_timeout;
            mostraProgresso(mudou);
        }
    }
    m_sinais.aoCancelar(nullptr);
    for (std::thread& t : m_threads) t.join();
    m_threads.clear();
    imprimeResultado();
    return status();
}

namespace {
// A line whose files were all written, whatever they hold.
bool completou(ExecucaoDoLote::Andamento::Estado e) {
    using E = ExecucaoDoLote::Andamento::Estado;
    return e == E::Concluida || e == E::ComPendencias;
}

const char* nomeDoEstado(ExecucaoDoLote::Andamento::Estado e) {
    using E = ExecucaoDoLote::Andamento::Estado;
    return e == E::Concluida       ? "concluída"
           : e == E::ComPendencias ? kConcluidaComPendencias
           : e == E::Falhou        ? "falhou"
           : e == E::Cancelada     ? "cancelada"
                                   : "";
}

std::string resultadoMostrado(const ExecucaoDoLote::Andamento& a) {
    std::string r = nomeDoEstado(a.estado);
    if (a.estado == ExecucaoDoLote::Andamento::Estado::Falhou) r += ": " + a.erro;
    return r;
}
}  // namespace

// Under the lock. On a terminal one line, redrawn; elsewhere a line each time an export ends.
void ExecucaoDoLote::mostraProgresso(bool mudou) {
    std::lock_guard saida(g_saida);
    if (!m_terminal) {
        for (std::size_t i = 0; i < m_andamentos.size(); ++i) {
            Andamento& a = *m_andamentos[i];
            if (a.relatado || a.estado == Andamento::Estado::Esperando || a.estado == Andamento::Estado::Rodando)
                continue;
            a.relatado = true;
            std::fprintf(stderr, "%s: %s\n", rotulo(i).c_str(), resultadoMostrado(a).c_str());
        }
        return;
    }
    (void)mudou;
    int prontas = 0, falhas = 0;
    std::string andamento;
    for (std::size_t i = 0; i < m_andamentos.size(); ++i) {
        const Andamento& a = *m_andamentos[i];
        prontas += completou(a.estado);
        falhas += a.estado == Andamento::Estado::Falhou;
        if (a.estado != Andamento::Estado::Rodando) continue;
        const int maximo = a.maximo, posicao = a.posicao;
        andamento += ", " + rotulo(i) + " " + std::to_string(maximo > 0 ? posicao * 100 / maximo : 0) + "%";
    }
    std::fprintf(stderr, "\r\033[KLote: %d de %zu concluídas, %d falharam%s", prontas, m_andamentos.size(), falhas,
                 andamento.c_str());
    std::fflush(stderr);
}

void ExecucaoDoLote::imprimeResultado() const {
    std::lock_guard saida(g_saida);
    if (m_terminal) std::fprintf(stderr, "\r\033[K");
    if (m_args.verificar) {
        imprimeVerificacoes();
        return;
    }
    std::printf("%-8s %-40s %-24s", "Empresa", "Pasta", "Resultado");
    for (TipoArquivo tipo : kTiposDeArquivo) std::printf(" %8s", SiglaDoArquivo(tipo));
    std::printf("\n");
    for (std::size_t i = 0; i < m_itens.size(); ++i) {
        const Andamento& a = *m_andamentos[i];
        // Accented states are padded by hand: printf counts bytes.
        const std::string estado = nomeDoEstado(a.estado);
        const std::size_t largura = LarguraNoTerminal(estado);
        std::printf("%-8d %-40s %s%s", m_itens[i].empresa, Visivel(m_itens[i].pasta).c_str(), estado.c_str(),
                    std::string(largura < 24 ? 24 - largura : 0, ' ').c_str());
        // The lines of each file the run reported; a file it did not write has none.
        for (TipoArquivo tipo : kTiposDeArquivo) {
            const auto& feitos = a.resultado.arquivos;
            const auto f =
                std::find_if(feitos.begin(), feitos.end(), [tipo](const ArquivoGravado& g) { return g.tipo == tipo; });
            if (f == feitos.end())
                std::printf(" %8s", "-");
            else
                std::printf(" %8ld", f->linhas);
        }
        if (a.estado == Andamento::Estado::Falhou) std::printf("  %s", a.erro.c_str());
        std::printf("\n");
    }
    imprimeDepoisDaTabela();
}

// After the table, what each line removed of an earlier run, and the movements it wrote without an account.
void ExecucaoDoLote::imprimeDepoisDaTabela() const {
    for (std::size_t i = 0; i < m_itens.size(); ++i) {
        const ResultadoDaExportacao& r = m_andamentos[i]->resultado;
        for (const std::string& apagado : r.apagados)
            std::printf("%s: %s: %s\n", rotulo(i).c_str(), Visivel(apagado).c_str(), kApagado);
        if (m_andamentos[i]->estado == Andamento::Estado::ComPendencias)
            std::printf("\n== %s: %s", rotulo(i).c_str(), TextoDasPendencias(r).c_str());
    }
}

// Each company's table, or one CSV of them all; called with the output's lock held.
void ExecucaoDoLote::imprimeVerificacoes() const {
    const Escrita escreve = EscreveNaSaida;
    std::vector<std::pair<LinhaDoLote, const ResultadoDaVerificacao*>> csv;
    for (std::size_t i = 0; i < m_itens.size(); ++i) {
        const Andamento& a = *m_andamentos[i];
        const bool concluida = a.estado == Andamento::Estado::Concluida;
        if (m_args.csv) {
            if (concluida) csv.emplace_back(linhaDoLote(i), &a.verificacao);
            continue;
        }
        std::printf("== %s, pasta %s: %s\n", rotulo(i).c_str(), Visivel(m_itens[i].pasta).c_str(),
                    resultadoMostrado(a).c_str());
        if (concluida) TabelaDaVerificacao(a.verificacao, escreve);
    }
    if (m_args.csv) CsvDaVerificacaoDoLote(csv, escreve);
}

int ExecucaoDoLote::status() const {
    if (m_sinais.motivo() > 0) return 128 + m_sinais.motivo();
    bool falhou = false, erros = false, avisos = false;
    for (const auto& a : m_andamentos) {
        const bool pendente = a->estado == Andamento::Estado::ComPendencias;
        falhou = falhou || !completou(a->estado);
        erros = erros || a->verificacao.erros() > 0;
        avisos = avisos || a->verificacao.avisos() > 0 || pendente;
    }
    return falhou ? 1 : erros ? kSaidaErros : avisos ? kSaidaAvisos : 0;
}

LinhaDoLote ExecucaoDoLote::linhaDoLote(std::size_t i) const {
    return LinhaDoLote{m_itens[i].linha, m_itens[i].conexao, m_itens[i].empresa};
}

std::vector<std::pair<LinhaDoLote, const ResultadoDaExportacao*>> ExecucaoDoLote::concluidas() const {
    std::vector<std::pair<LinhaDoLote, const ResultadoDaExportacao*>> out;
    for (std::size_t i = 0; i < m_itens.size(); ++i)
        if (completou(m_andamentos[i]->estado) && !m_args.verificar)
            out.emplace_back(linhaDoLote(i), &m_andamentos[i]->resultado);
    return out;
}

namespace {
// What keeps the batch from starting: a link among a line's file names, a totals file that is one of the files
// the batch reads or writes.
std::optional<std::string> recusaAntes(const CliArgs& args, const std::vector<ItemDoLote>& itens) {
    const Periodo periodo = PeriodoDoMes(args.diaInicial, args.diaFinal, args.mes, args.ano);
    ArquivosDaExecucao arquivos;
    arquivos.lido(args.lote);
    for (const ItemDoLote& item : itens) {
        if (!args.verificar)
            if (auto recusa = RecusaDaSaida(DiretorioDe(item.pasta), periodo.NomeArquivo))
                return "lote, linha " + std::to_string(item.linha) + ": " + *recusa;
        arquivos.conexao(item.conexao);
        arquivos.saida(DiretorioDe(item.pasta), periodo.NomeArquivo);
    }
    return args.resumo ? arquivos.recusa(*args.resumo) : std::nullopt;
}
}  // namespace

int ExecutaLote(const CliArgs& args, SinaisDeParada& sinais) {
    std::vector<std::string> avisos;
    std::vector<ItemDoLote> itens;
    try {
        itens = LeLote(args.lote, avisos);
        if (!args.verificar) RecusaPastasRepetidas(itens);
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "%s\n", Visivel(e.what()).c_str());
        return 2;
    }
    if (auto recusa = recusaAntes(args, itens)) {
        std::fprintf(stderr, "%s\n", Visivel(*recusa).c_str());
        return 2;
    }
    for (const std::string& aviso : avisos) std::fprintf(stderr, "%s\n", Visivel(aviso).c_str());
    DesisteCom(sinais, 0, args.verificar ? "Verificação cancelada!" : kMensagemCancelada);
    ExecucaoDoLote lote(args, std::move(itens), sinais);
    int status = lote.executa();
    sinais.aoDesistir(nullptr);
    const bool semFalha = status == 0 || status == kSaidaPendencias;
    if (args.resumo && !gravaArquivo(*args.resumo, CsvDoResumoDoLote(lote.concluidas())) && semFalha) status = 1;
    return status;
}

}  // namespace zorla
