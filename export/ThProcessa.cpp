#include "export/ThProcessa.h"

#include <algorithm>
#include <utility>

#include "base/TextoVisivel.h"
#include "comparacao/Emparelhamento.h"
#include "data/ClientDataSet.h"
#include "data/DMVantero.h"
#include "data/DbError.h"
#include "export/Lancamentos.h"
#include "export/RegistrosFiscais.h"
#include "leiaute/PassosDoMovimento.h"
#include "sistema/FilaDeLotes.h"
#include "sistema/PrioridadeDaThread.h"

namespace zorla {

namespace {

// The filter is on only while one pass writes, whatever way the pass ends.
class FiltroLigado {
public:
    FiltroLigado(ClientDataSet& ds, const char* operacao) : m_ds(ds) {
        m_ds.setFilter("OPERACAO", operacao);
        m_ds.setFiltered(true);
        m_ds.first();
    }
    ~FiltroLigado() { m_ds.setFiltered(false); }

private:
    ClientDataSet& m_ds;
};

// Adds each record's amounts to its file's sums, and to those of its TIPO.
class Totalizador {
public:
    explicit Totalizador(const ClientDataSet& rows)
        : m_tipo(rows, rows.fieldIndex("TIPO")),
          m_campos{FieldRef(rows, rows.fieldIndex("VALOR")), FieldRef(rows, rows.fieldIndex("BASEICMS")),
                   FieldRef(rows, rows.fieldIndex("VALORICMS")), FieldRef(rows, rows.fieldIndex("BASEIPI")),
                   FieldRef(rows, rows.fieldIndex("VALORIPI"))} {}

    void soma(ArquivoGravado& arquivo) const {
        const std::string_view tipo = m_tipo.text();
        auto it = std::find_if(arquivo.porTipo.begin(), arquivo.porTipo.end(),
                               [&](const auto& p) { return p.first == tipo; });
        if (it == arquivo.porTipo.end()) it = arquivo.porTipo.insert(it, {std::string(tipo), Somas{}});
        for (Somas* s : {&arquivo.somas, &it->second}) {
            ++s->documentos;
            std::int64_t* const destinos[] = {&s->valor, &s->baseIcms, &s->valorIcms, &s->baseIpi, &s->valorIpi};
            for (std::size_t i = 0; i < 5; ++i) *destinos[i] += m_campos[i].asDecimal().cents;
        }
    }

private:
    FieldRef m_tipo;
    FieldRef m_campos[5];
};

}  // namespace

ThProcessa::ThProcessa(TFDMExporta& dm, FonteDasVendas vendas, OutrasConsultas outras, ParametrosDaExecucao params,
                       EventosDaExportacao& eventos, DestinoDosArquivos& arquivos, std::stop_token parada)
    : m_dm(dm),
      m_vendas(vendas),
      m_outras(std::move(outras)),
      m_params(std::move(params)),
      m_eventos(eventos),
      m_files(arquivos),
      m_parada(std::move(parada)),
      m_thread([this] { Execute(); }) {}

ThProcessa::~ThProcessa() { wait(); }

void ThProcessa::wait() {
    if (m_thread.joinable()) m_thread.join();
}

void ThProcessa::Execute() {
    BaixaPrioridadeDaThread();
    GeraArquivos();
}

ThProcessa::Saida ThProcessa::criaArquivo(TipoArquivo tipo, const std::string& path) {
    Saida saida{m_files.recria(path), m_resultado.arquivos.size()};
    m_identidades.push_back(saida.arquivo->identidade());
    m_coletores.push_back(m_params.RegistrosAnteriores.contains(path) ? std::make_unique<ColetorDeRegistros>(tipo)
                                                                      : nullptr);
    ArquivoGravado& novo = m_resultado.arquivos.emplace_back();
    novo.tipo = tipo;
    novo.caminho = path;
    novo.substituido =
        std::find(m_params.Anteriores.begin(), m_params.Anteriores.end(), path) != m_params.Anteriores.end();
    m_eventos.arquivoIniciado(tipo, path);
    return saida;
}

void ThProcessa::gravaLinha(Saida& saida, const std::string& line) {
    try {
        saida.arquivo->gravaLinha(line);
    } catch (...) {
        marcaIncompleto(saida);
        throw;
    }
    const long linhas = ++m_resultado.arquivos[saida.indice].linhas;
    if (auto& coletor = m_coletores[saida.indice]) coletor->linha(linhas, line, 0);
}

void ThProcessa::fechaArquivo(Saida& saida) {
    if (!saida.arquivo) return;
    try {
        saida.arquivo->fecha();
    } catch (...) {
        marcaIncompleto(saida);
        saida.arquivo.reset();
        throw;
    }
    saida.arquivo.reset();
    m_resultado.arquivos[saida.indice].completo = !saida.falhou;
}

// Nothing claims lines that never reached the disk.
void ThProcessa::marcaIncompleto(Saida& saida) {
    saida.falhou = true;
    m_resultado.arquivos[saida.indice].linhas = saida.arquivo->linhasNoDisco();
    m_resultado.arquivos[saida.indice].completo = false;
}

// Every failure is kept, so that the message names each file that could not be written whole.
void ThProcessa::registraFalha(const std::exception& e) {
    if (!m_resultado.erro.empty()) m_resultado.erro += '\r';
    m_resultado.erro += e.what();
}

void ThProcessa::cancelado() {
    if (!std::exchange(m_cancelamentoVisto, true)) m_eventos.cancelado();
}

std::stop_token ThProcessa::paradaDaConsulta() const {
    return m_parada.stop_requested() ? std::stop_token() : m_parada;
}

// A record per row until the rows end or the operator cancels; false once cancelled.
bool ThProcessa::gravaRegistros(Saida& livro, Etapa etapa, ClientDataSet& saidas, int& numero) {
    const ClientDataSet::ControlsDisabled semControles(saidas);
    const MontadorRegistros montador(saidas);
    const Totalizador totalizador(saidas);
    const FieldRef movimento(saidas, saidas.fieldIndex("CODMOVESTOQUE"));
    std::string linha;
    for (saidas.first(); !saidas.eof(); saidas.next()) {
        if (m_parada.stop_requested()) {
            cancelado();
            return false;
        }
        if (etapa == Etapa::LivroSaidas)
            montador.saida(m_params.CodigoEmpresa, linha);
        else
            montador.entrada(m_params.CodigoEmpresa, linha);
        gravaLinha(livro, linha);
        totalizador.soma(m_resultado.arquivos[livro.indice]);
        m_eventos.registroFeito(++numero, movimento.text());
    }
    return true;
}

// The sales book written as the rows arrive, fetched on a thread of their own: the fetch never waits for the disk
// beyond a few batches, and no more of the period than that is held. The run's stop ends the book as in the
// consulted rows' loop, and the fetch with it; so does a failure to write.
void ThProcessa::gravaVendasAoChegar(Saida& livro) {
    m_eventos.etapaIniciada(Etapa::LivroSaidas, kRegistrosDesconhecidos);
    ClientDataSet lote(m_dm.Saidas().name());
    for (const FieldDef& f : m_dm.Saidas().fields()) lote.addField(f);
    FilaDeLotes fila(kLotesEmEspera);
    std::stop_source paraABusca;
    const std::stop_callback comAExecucao(m_parada, [&paraABusca] { paraABusca.request_stop(); });
    std::jthread busca([&] {
        try {
            m_dm.EntregaSaidas(
                "S", m_params.DataInicial, m_params.DataFinal, m_params.Empresa, kLinhasPorLote,
                [&](std::shared_ptr<const PackedRows> l) { fila.poe(std::move(l), paraABusca.get_token()); },
                paraABusca.get_token());
            fila.termina();
        } catch (...) {
            fila.termina(std::current_exception());
        }
    });
    try {
        int numero = 0;
        // The fetch always ends the queue: nothing but its end is waited for.
        while (auto linhas = fila.tira({})) {
            lote.abreSobre(std::move(linhas));
            if (!gravaRegistros(livro, Etapa::LivroSaidas, lote, numero)) break;
        }
    } catch (const DbError& e) {
        paraABusca.request_stop();
        // The statement stopped by the run's stop ends the book as the stop does in the loop.
        if (!e.cancelada() || !m_parada.stop_requested()) throw;
        cancelado();
    } catch (...) {
        paraABusca.request_stop();
        throw;
    }
    paraABusca.request_stop();
}

ClientDataSet& ThProcessa::compras() {
    if (m_outras.antecipadas) return m_outras.antecipadas.compras(paradaDaConsulta());
    return m_dm.ConsultaSaidas("E", m_params.DataInicial, m_params.DataFinal, m_params.Empresa, paradaDaConsulta());
}

// The sales book, then the purchases book when the period has purchases. The book left open is closed by the
// caller.
void ThProcessa::gravaLivros(Saida& livro) {
    livro = criaArquivo(TipoArquivo::LivroSaidas, caminho(TipoArquivo::LivroSaidas));
    if (m_vendas == FonteDasVendas::Busca) {
        gravaVendasAoChegar(livro);
    } else {
        m_eventos.etapaIniciada(Etapa::LivroSaidas, m_dm.Saidas().recordCount());
        int numero = 0;
        gravaRegistros(livro, Etapa::LivroSaidas, m_dm.Saidas(), numero);
    }
    ClientDataSet& linhas = compras();
    const std::string entradas = caminho(TipoArquivo::LivroEntradas);
    if (linhas.isEmpty()) {
        // A purchases book of an earlier export would be imported as this period's.
        if (m_files.existe(entradas)) {
            m_files.apaga(entradas);
            m_resultado.apagados.push_back(entradas);
        }
        return;
    }
    fechaArquivo(livro);
    livro = criaArquivo(TipoArquivo::LivroEntradas, entradas);
    m_eventos.etapaIniciada(Etapa::LivroEntradas, linhas.recordCount());
    int numero = 0;
    gravaRegistros(livro, Etapa::LivroEntradas, linhas, numero);
}

std::string ThProcessa::caminho(TipoArquivo tipo) const {
    return CaminhoDoArquivo(tipo, m_params.Diretorio, m_params.NomeArquivo);
}

void ThProcessa::GeraArquivos() {
    Saida livro;
    try {
        // Attached before the sales are fetched: opening one while another fetches stalls.
        if (!m_outras.antecipadas && m_outras.novoModulo)
            m_outras.antecipadas = ConsultasAntecipadas::inicia(m_outras.novoModulo, m_params.DataInicial,
                                                                m_params.DataFinal, m_params.Empresa);
        gravaLivros(livro);
        ExportaMovimentoBancario();
    } catch (const DbError& e) {
        // A statement stopped by the cancel is the cancel, not a failure to report besides it.
        if (!e.cancelada() || !m_parada.stop_requested()) registraFalha(e);
    } catch (const std::exception& e) {
        registraFalha(e);
    }
    // The open fiscal book is closed before the end is reported, so that a failure names it too when incomplete.
    try {
        fechaArquivo(livro);
    } catch (const std::exception& e) {
        registraFalha(e);
    }
    confereOsArquivosNoLugar();
    // A query still under way after a failure is stopped; its rows are not wanted.
    m_outras = {};
    m_resultado.desfecho = !m_resultado.erro.empty()   ? Desfecho::Falhou
                           : m_parada.stop_requested() ? Desfecho::Cancelado
                                                       : Desfecho::Concluido;
    if (m_resultado.desfecho == Desfecho::Concluido) contaAsDiferencas();
    m_eventos.terminou(m_resultado);
}

// What the listing names must be what the run wrote: a file another program put in its place, or a folder renamed
// and replaced during the run, makes the run a failure, not a success over someone else's files.
void ThProcessa::confereOsArquivosNoLugar() {
    for (std::size_t i = 0; i < m_resultado.arquivos.size(); ++i) {
        ArquivoGravado& a = m_resultado.arquivos[i];
        if (m_identidades[i].empty() || m_files.identidadeAtual(a.caminho) == m_identidades[i]) continue;
        a.completo = false;
        registraFalha(std::runtime_error(
            "O arquivo \"" + Visivel(a.caminho) +
            "\" não é mais o que esta exportação gravou: outro programa o substituiu ou apagou, ou a pasta foi trocada "
            "durante a exportação. Não importe os arquivos desta pasta; exporte o período de novo."));
    }
}

// A re-export after corrections says what it changed in the files it replaced, as a comparison of the two would.
void ThProcessa::contaAsDiferencas() {
    for (std::size_t i = 0; i < m_resultado.arquivos.size(); ++i) {
        if (!m_coletores[i]) continue;
        ArquivoGravado& a = m_resultado.arquivos[i];
        const Emparelhamento e = Emparelha(*m_params.RegistrosAnteriores.at(a.caminho), m_coletores[i]->termina());
        a.diferenca = DiferencaDoAnterior{static_cast<long>(e.alterados.size()), static_cast<long>(e.soAntes.size()),
                                          static_cast<long>(e.soDepois.size())};
        m_coletores[i].reset();
    }
}

void ThProcessa::ExportaMovimentoBancario() {
    ClientDataSet& mov = m_outras.antecipadas
                             ? m_outras.antecipadas.movimento(paradaDaConsulta())
                             : m_dm.ConsultaMovimento(m_params.DataInicial, m_params.DataFinal, paradaDaConsulta());
    m_registrosDoMovimento = 0;
    m_eventos.etapaIniciada(Etapa::MovimentoBancario, mov.recordCount());
    for (const PassoDoMovimento& passo : kPassosDoMovimento) {
        FiltroLigado filtro(mov, passo.operacao);
        GravaLancamentos(mov, passo.tipo, caminho(passo.tipo), passo.historico);
    }
}

void ThProcessa::GravaLancamentos(ClientDataSet& mov, TipoArquivo tipo, const std::string& nomeArquivo,
                                  const std::string& prefixo) {
    Saida arquivo = criaArquivo(tipo, nomeArquivo);
    const MontadorLancamentos montador(mov);
    const FieldRef valor(mov, mov.fieldIndex("VALOR"));
    try {
        for (; !mov.eof(); mov.next()) {
            if (auto parte = montador.parteSemConta()) {
                m_eventos.aviso(
                    Aviso{Aviso::Tipo::SemContaContabil, VisivelCp1252(*parte) + "\r\nsem código contábil definido."});
                m_resultado.semConta.push_back(montador.pendencia(std::move(*parte)));
            }
            for (const std::string& linha : montador.monta(prefixo)) gravaLinha(arquivo, linha);
            Somas& somas = m_resultado.arquivos[arquivo.indice].somas;
            ++somas.documentos;
            somas.valor += valor.asDecimal().cents;
            m_eventos.registroFeito(++m_registrosDoMovimento, {});
        }
    } catch (...) {
        // The lines before the failure still go to the disk; the failure is what is reported.
        try {
            fechaArquivo(arquivo);
        } catch (...) {
        }
        throw;
    }
    fechaArquivo(arquivo);
}

}  // namespace zorla
