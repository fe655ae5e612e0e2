#include "ThProcessa.h"

#include <sys/resource.h>
#include <unistd.h>

#include <optional>

#include "Campos.h"
#include "ClientDataSet.h"
#include "Cp1252.h"
#include "DMVantero.h"
#include "Formatacao.h"
#include "Lancamentos.h"
#include "RegistrosFiscais.h"
#include "TextUtil.h"

namespace zorla {

namespace {

// Lowers only the calling thread; Qt's thread priorities do nothing on Linux.
void lowerThreadPriority() {
#ifdef __linux__
    errno = 0;
    int current = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
    if (errno == 0) setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), std::min(current + 2, 19));
#endif
}

struct Passo {
    const char* operacao;
    const char* status;
    const char* prefixoArquivo;
    const char* historico;  // code page 1252
};

constexpr Passo kPassos[] = {
    {"V", "Movimento de Caixa/Banco: Recebimentos, aguarde...", "ctr", "RECEBIMENTO DE TITULO N\xBA"},
    {"C", "Movimento de Caixa/Banco: Pagamentos, aguarde...", "pag", "PAGAMENTO DE TITULO N\xBA"},
    {"F", "Movimento de Caixa/Banco: Despeses gerais, aguarde...", "fca", ""},
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

ThProcessa::ThProcessa(TFDMExporta& dm, ExportHost& host, RunParameters params, OutputFiles& files)
    : m_dm(dm), m_host(host), m_params(std::move(params)), m_files(files) {}

ThProcessa::~ThProcessa() { wait(); }

void ThProcessa::start() { m_thread = std::thread([this] { Execute(); }); }

void ThProcessa::wait() {
    if (m_thread.joinable()) m_thread.join();
}

void ThProcessa::Execute() {
    lowerThreadPriority();
    GeraArquivos();
}

ThProcessa::Saida ThProcessa::criaArquivo(const std::string& path) {
    Saida saida{m_files.recreate(path), m_arquivos.size()};
    m_arquivos.push_back(ArquivoGravado{path});
    return saida;
}

void ThProcessa::gravaLinha(Saida& saida, const std::string& line) {
    try {
        saida.arquivo->writeLine(line);
    } catch (...) {
        marcaIncompleto(saida);
        throw;
    }
    ++m_arquivos[saida.indice].linhas;
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
    m_arquivos[saida.indice].completo = !saida.falhou;
}

// Nothing claims lines that never reached the disk.
void ThProcessa::marcaIncompleto(Saida& saida) {
    saida.falhou = true;
    m_arquivos[saida.indice].linhas = saida.arquivo->linesOnDisk();
    m_arquivos[saida.indice].completo = false;
}

// Every failure is kept, so that the message names each file that could not be written whole.
void ThProcessa::registraFalha(const std::exception& e) {
    if (!m_erro.empty()) m_erro += '\r';
    m_erro += e.what();
}

void ThProcessa::avancaGauge() {
    if (m_gaugePosicao < m_gaugeMaximo) m_host.gaugePosicao(++m_gaugePosicao);
}

// The grid stops following the fiscal rows while the run walks them, whatever way the walk ends.
class ControlesDesligados {
public:
    ControlesDesligados(ClientDataSet& ds, ExportHost& host) : m_ds(ds), m_host(host) {
        m_ds.disableControls();
        m_host.controlesDados(false);
    }
    ~ControlesDesligados() {
        m_ds.enableControls();
        m_host.controlesDados(true);
    }
    ControlesDesligados(const ControlesDesligados&) = delete;
    ControlesDesligados& operator=(const ControlesDesligados&) = delete;

private:
    ClientDataSet& m_ds;
    ExportHost& m_host;
};

// The sales book from the consulted rows, then the purchases book when the period has purchases. The file left
// open is closed by the caller.
void ThProcessa::gravaLivros(Saida& arquivo, std::optional<ControlesDesligados>& desligados) {
    ClientDataSet& saidas = m_dm.CDSSaidas;
    // One loop for both books: a record per row until the rows end or the operator cancels.
    auto gravaLivro = [&](std::string (*monta)(const ClientDataSet&, std::string_view)) {
        m_gaugePosicao = 0;
        m_gaugeMaximo = saidas.recordCount();
        m_host.gaugeMaximo(m_gaugeMaximo);
        m_host.lblMovimento("Gerando arquivo...");
        for (saidas.first(); !saidas.eof() && !m_host.cancelado(); saidas.next()) {
            ++m_gaugePosicao;
            m_host.gaugePosicao(m_gaugePosicao);
            m_host.titulo(std::to_string(m_gaugePosicao) + " gerando...");
            m_host.lblMovimento("Movimento: " + cp1252ToUtf8(saidas.fieldByName("CODMOVESTOQUE").asString()) +
                                ". Gerando, aguarde...");
            gravaLinha(arquivo, monta(saidas, m_params.codigoEmpresa));
        }
    };
    desligados.emplace(saidas, m_host);
    arquivo = criaArquivo(m_params.Diretorio + m_params.NomeArquivo + ".SAI");
    gravaLivro(&MontaRegistroSaida);

    m_dm.ConsultaSaidas("E", m_params.DataInicial, m_params.DataFinal, m_params.empresa);
    if (saidas.isEmpty()) return;
    m_host.painelStatus(false, kCorProcessando);
    fechaArquivo(arquivo);
    desligados.reset();
    arquivo = criaArquivo(m_params.Diretorio + m_params.NomeArquivo + ".ENT");
    m_host.lblArquivo("ARQUIVO: " + m_params.NomeArquivo + ".ENT");
    m_host.painelStatus(true, kCorProcessando);
    m_host.repinta();
    desligados.emplace(saidas, m_host);
    m_host.gaugePosicao(0);
    gravaLivro(&MontaRegistroEntrada);
}

void ThProcessa::GeraArquivos() {
    Saida livro;
    std::optional<ControlesDesligados> desligados;
    try {
        m_host.painelStatus(true, kCorProcessando);
        gravaLivros(livro, desligados);
        ExportaMovimentoBancario();
    } catch (const std::exception& e) {
        registraFalha(e);
    }
    // The open fiscal book is closed before any message, so that a failure names it too when it is incomplete.
    try {
        fechaArquivo(livro);
    } catch (const std::exception& e) {
        registraFalha(e);
    }
    const bool falhou = !m_erro.empty();
    if (falhou) m_host.mensagem(mensagemFalha(m_erro), MessageIcon::Error);
    desligados.reset();
    reiniciaStatus();
    if (falhou)
        m_desfecho = Desfecho::Falhou;
    else if (m_host.cancelado()) {
        m_desfecho = Desfecho::Cancelado;
        m_host.mensagem(kMensagemCancelada, MessageIcon::Information);
    } else {
        m_desfecho = Desfecho::Concluido;
        m_host.mensagem(mensagemConcluida(m_params.pastaDigitada), MessageIcon::Information);
    }
    m_host.terminaExportacao();
}

void ThProcessa::reiniciaStatus() {
    m_host.painelStatus(false, kCorJanela);
    m_host.gaugePosicao(0);
    m_host.lblMovimento("Status do processamento");
    m_host.lblArquivo("");
    m_host.titulo("Zorla Exporta");
}

void ThProcessa::ExportaMovimentoBancario() {
    ClientDataSet& mov = m_dm.CDSMovimento;
    mov.close();
    m_dm.SQLMovimento.paramByName("BANCO").value = "%";
    m_dm.SQLMovimento.paramByName("DATA_INICIAL").value = m_params.DataInicial;
    m_dm.SQLMovimento.paramByName("DATA_FINAL").value = m_params.DataFinal;
    mov.setFiltered(false);
    mov.open();
    m_gaugePosicao = 0;
    m_gaugeMaximo = mov.recordCount();
    m_host.gaugePosicao(0);
    m_host.gaugeMaximo(m_gaugeMaximo);
    for (const Passo& passo : kPassos) {
        FiltroLigado filtro(mov, passo.operacao);
        m_host.lblMovimento(passo.status);
        GravaLancamentos(m_params.Diretorio + passo.prefixoArquivo + m_params.NomeArquivo + ".txt", passo.historico);
    }
}

void ThProcessa::GravaLancamentos(const std::string& nomeArquivo, const std::string& prefixo) {
    ClientDataSet& mov = m_dm.CDSMovimento;
    Saida arquivo = criaArquivo(nomeArquivo);
    const MontadorLancamentos montador(mov);
    try {
        for (; !mov.eof(); mov.next()) {
            if (auto parte = montador.parteSemConta())
                m_host.mensagem(cp1252ToUtf8(*parte) + "\r\nsem código contábil definido.", MessageIcon::Error);
            avancaGauge();
            for (const std::string& linha : montador.monta(prefixo)) gravaLinha(arquivo, linha);
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
