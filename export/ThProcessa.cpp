#include "export/ThProcessa.h"

#include <algorithm>
#include <cerrno>
#include <utility>

#include "base/TextoVisivel.h"
#include "data/DbError.h"
#include "export/ArquivosDaExportacao.h"
#include "data/ClientDataSet.h"
#include "data/DMVantero.h"
#include "export/FilaDeLotes.h"
#include "export/Lancamentos.h"
#include "export/PrioridadeDaThread.h"
#include "export/RegistrosFiscais.h"

namespace zorla {

namespace {

struct Passo {
    TipoArquivo tipo;
    const char* operacao;
    const char* historico;  // code page 1252
};

constexpr Passo kPassos[] = {
    {TipoArquivo::Recebimentos, "V", "RECEBIMENTO DE TITULO N\xBA"},
    {TipoArquivo::Pagamentos, "C", "PAGAMENTO DE TITULO N\xBA"},
    {TipoArquivo::DespesasGerais, "F", ""},
};

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

}  // namespace

std::string mensagemFalha(const std::string& erro) {
    return "Infelizmente ocorreu uma falha na exportação e não será possível prosseguir.\r"
           "Reinicie o sistema de exportação e tente novamente.\r\r"
           "Erro Ocorrido: " +
           erro;
}

std::string mensagemConcluida(const std::string& pasta) {
    return "Os arquivos foram gerados com sucesso.\rVocê pode encontra-los na pasta: " + pasta;
}

const char* textoDoPasso(TipoArquivo tipo) {
    switch (tipo) {
        case TipoArquivo::Recebimentos: return "Movimento de Caixa/Banco: Recebimentos, aguarde...";
        case TipoArquivo::Pagamentos: return "Movimento de Caixa/Banco: Pagamentos, aguarde...";
        case TipoArquivo::DespesasGerais: return "Movimento de Caixa/Banco: Despeses gerais, aguarde...";
        default: return "";
    }
}

std::string nomeDoArquivo(const std::string& caminho) {
    const auto barra = caminho.find_last_of("/\\");
    return barra == std::string::npos ? caminho : caminho.substr(barra + 1);
}

ThProcessa::ThProcessa(TFDMExporta& dm, EventosDaExportacao& eventos, const std::atomic<bool>& cancelado,
                       RunParameters params, OutputFiles& files)
    : m_dm(dm), m_eventos(eventos), m_cancelado(cancelado), m_params(std::move(params)), m_files(files) {}

ThProcessa::~ThProcessa() { wait(); }

void ThProcessa::start() { m_thread = std::thread([this] { Execute(); }); }

void ThProcessa::wait() {
    if (m_thread.joinable()) m_thread.join();
}

void ThProcessa::Execute() {
    BaixaPrioridadeDaThread();
    GeraArquivos();
}

ThProcessa::Saida ThProcessa::criaArquivo(TipoArquivo tipo, const std::string& path) {
    Saida saida{m_files.recreate(path), m_resultado.arquivos.size()};
    ArquivoGravado& novo = m_resultado.arquivos.emplace_back();
    novo.tipo = tipo;
    novo.caminho = path;
    m_eventos.arquivoIniciado(tipo, path);
    return saida;
}

void ThProcessa::gravaLinha(Saida& saida, const std::string& line) {
    try {
        saida.arquivo->writeLine(line);
    } catch (...) {
        marcaIncompleto(saida);
        throw;
    }
    ++m_resultado.arquivos[saida.indice].linhas;
}

void ThProcessa::fechaArquivo(Saida& saida) {
    if (!saida.arquivo) return;
    try {
        saida.arquivo->close();
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
    m_resultado.arquivos[saida.indice].linhas = saida.arquivo->linesOnDisk();
    m_resultado.arquivos[saida.indice].completo = false;
}

// Every failure is kept, so that the message names each file that could not be written whole.
void ThProcessa::registraFalha(const std::exception& e) {
    if (!m_resultado.erro.empty()) m_resultado.erro += '\r';
    m_resultado.erro += e.what();
}

namespace {
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

// A record per row until the rows end or the operator cancels; false once cancelled.
bool ThProcessa::gravaRegistros(Saida& livro, Etapa etapa, ClientDataSet& saidas, int& numero) {
    const ClientDataSet::ControlsDisabled semControles(saidas);
    const MontadorRegistros montador(saidas);
    const Totalizador totalizador(saidas);
    const FieldRef movimento(saidas, saidas.fieldIndex("CODMOVESTOQUE"));
    std::string linha;
    for (saidas.first(); !saidas.eof(); saidas.next()) {
        if (m_cancelado) {
            if (!std::exchange(m_cancelamentoVisto, true)) m_eventos.cancelado();
            return false;
        }
        if (etapa == Etapa::LivroSaidas)
            montador.saida(m_params.codigoEmpresa, linha);
        else
            montador.entrada(m_params.codigoEmpresa, linha);
        gravaLinha(livro, linha);
        totalizador.soma(m_resultado.arquivos[livro.indice]);
        m_eventos.registroFeito(++numero, movimento.text());
    }
    return true;
}

void ThProcessa::gravaLivro(Saida& livro, Etapa etapa, ClientDataSet& saidas) {
    m_eventos.etapaIniciada(etapa, saidas.recordCount());
    int numero = 0;
    gravaRegistros(livro, etapa, saidas, numero);
}

// The sales book written as the rows arrive, fetched on a thread of their own: the fetch never waits for the disk
// beyond a few batches, and no more of the period than that is held. A cancel ends the book as in the consulted
// rows' loop.
void ThProcessa::gravaVendasAoChegar(Saida& livro) {
    m_eventos.etapaIniciada(Etapa::LivroSaidas, kRegistrosDesconhecidos);
    ClientDataSet lote(m_dm.saidas().name());
    for (const FieldDef& f : m_dm.saidas().fields()) lote.addField(f);
    FilaDeLotes fila(kLotesEmEspera);
    std::thread busca([&] {
        try {
            m_dm.EntregaSaidas("S", m_params.DataInicial, m_params.DataFinal, m_params.empresa, kLinhasPorLote,
                               [&](std::shared_ptr<const PackedRows> l) { return fila.poe(std::move(l)); });
            fila.termina();
        } catch (...) {
            fila.termina(std::current_exception());
        }
    });
    bool inteiro = false;
    // However the writing ends, the fetch ends with it; after a failure its statement is stopped too.
    const auto encerra = [&] {
        fila.desiste();
        if (!inteiro && !m_cancelado) m_dm.cancela();
        busca.join();
    };
    try {
        int numero = 0;
        while (auto linhas = fila.tira()) {
            lote.abreSobre(std::move(linhas));
            if (!gravaRegistros(livro, Etapa::LivroSaidas, lote, numero)) break;
        }
        inteiro = true;
    } catch (const DbError& e) {
        encerra();
        // The statement stopped by the cancel ends the book as the cancel does in the loop.
        if (!e.cancelada() || !m_cancelado) throw;
        if (!std::exchange(m_cancelamentoVisto, true)) m_eventos.cancelado();
        return;
    } catch (...) {
        encerra();
        throw;
    }
    encerra();
}

// The sales book from the consulted rows, then the purchases book when the period has purchases. The book left
// open is closed by the caller.
void ThProcessa::gravaLivros(Saida& livro) {
    livro = criaArquivo(TipoArquivo::LivroSaidas, caminho(TipoArquivo::LivroSaidas));
    if (m_vendasAoGravar)
        gravaVendasAoChegar(livro);
    else
        gravaLivro(livro, Etapa::LivroSaidas, m_dm.saidas());

    ClientDataSet& compras = m_consultas.compras
                                 ? (m_consultas.compras->espera(), m_consultas.compras->modulo().saidas())
                                 : m_dm.ConsultaSaidas("E", m_params.DataInicial, m_params.DataFinal, m_params.empresa);
    const std::string entradas = caminho(TipoArquivo::LivroEntradas);
    if (compras.isEmpty()) {
        // A purchases book of an earlier export would be imported as this period's.
        if (m_files.exists(entradas)) {
            m_files.remove(entradas);
            m_resultado.apagados.push_back(entradas);
        }
        return;
    }
    fechaArquivo(livro);
    livro = criaArquivo(TipoArquivo::LivroEntradas, entradas);
    gravaLivro(livro, Etapa::LivroEntradas, compras);
}

void ThProcessa::antecipaConsultas() {
    if (!m_novoModulo || std::exchange(m_antecipadas, true)) return;
    // A cancel while the sales book is written stops that book, not these (as when each was consulted in turn).
    m_consultas =
        ConsultasAntecipadas::inicia(m_dm, m_novoModulo, m_params.DataInicial, m_params.DataFinal, m_params.empresa);
}

void ThProcessa::usaConsultas(ConsultasAntecipadas consultas) {
    if (m_antecipadas || !consultas.de(m_params.DataInicial, m_params.DataFinal, m_params.empresa)) return;
    m_consultas = std::move(consultas);
    m_antecipadas = true;
}

std::string ThProcessa::caminho(TipoArquivo tipo) const {
    return CaminhoDoArquivo(tipo, m_params.Diretorio, m_params.NomeArquivo);
}

void ThProcessa::GeraArquivos() {
    Saida livro;
    try {
        antecipaConsultas();
        gravaLivros(livro);
        ExportaMovimentoBancario();
    } catch (const DbError& e) {
        // A statement stopped by the cancel is the cancel, not a failure to report besides it.
        if (!e.cancelada() || !m_cancelado) registraFalha(e);
    } catch (const std::exception& e) {
        registraFalha(e);
    }
    // The open fiscal book is closed before the end is reported, so that a failure names it too when incomplete.
    try {
        fechaArquivo(livro);
    } catch (const std::exception& e) {
        registraFalha(e);
    }
    // A query still under way after a failure is stopped; its rows are not wanted.
    m_consultas = {};
    m_resultado.desfecho = !m_resultado.erro.empty() ? Desfecho::Falhou
                           : m_cancelado             ? Desfecho::Cancelado
                                                     : Desfecho::Concluido;
    m_eventos.terminou(m_resultado);
}

void ThProcessa::ExportaMovimentoBancario() {
    ClientDataSet& mov = m_consultas.movimento
                             ? (m_consultas.movimento->espera(), m_consultas.movimento->modulo().movimento())
                             : m_dm.ConsultaMovimento(m_params.DataInicial, m_params.DataFinal);
    m_linhasDoMovimento = &mov;
    m_registrosDoMovimento = 0;
    m_eventos.etapaIniciada(Etapa::MovimentoBancario, mov.recordCount());
    for (const Passo& passo : kPassos) {
        FiltroLigado filtro(mov, passo.operacao);
        GravaLancamentos(passo.tipo, caminho(passo.tipo), passo.historico);
    }
}

void ThProcessa::GravaLancamentos(TipoArquivo tipo, const std::string& nomeArquivo, const std::string& prefixo) {
    ClientDataSet& mov = *m_linhasDoMovimento;
    Saida arquivo = criaArquivo(tipo, nomeArquivo);
    const MontadorLancamentos montador(mov);
    const FieldRef valor(mov, mov.fieldIndex("VALOR"));
    try {
        for (; !mov.eof(); mov.next()) {
            if (auto parte = montador.parteSemConta()) {
                m_eventos.aviso(Aviso{Aviso::Tipo::SemContaContabil,
                                      VisivelCp1252(*parte) + "\r\nsem código contábil definido."});
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
