#include "ThProcessa.h"

#include <sys/resource.h>
#include <unistd.h>

#include "Campos.h"
#include "ClientDataSet.h"
#include "Cp1252.h"
#include "DMVantero.h"
#include "Formatacao.h"
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

std::unique_ptr<TextFile> ThProcessa::criaArquivo(const std::string& path) {
    auto file = m_files.recreate(path);
    m_arquivos.push_back(ArquivoGravado{path, 0});
    return file;
}

void ThProcessa::gravaLinha(TextFile& file, const std::string& line) {
    file.writeLine(line);
    ++m_arquivos.back().linhas;
}

void ThProcessa::avancaGauge() {
    if (m_gaugePosicao < m_gaugeMaximo) m_host.gaugePosicao(++m_gaugePosicao);
}

void ThProcessa::GeraArquivos() {
    bool falhou = false;
    std::unique_ptr<TextFile> arquivo;
    ClientDataSet& saidas = m_dm.CDSSaidas;
    int controlesDesligados = 0;
    auto desligaControles = [&] {
        saidas.disableControls();
        m_host.controlesDados(false);
        ++controlesDesligados;
    };
    auto religaControles = [&] {
        saidas.enableControls();
        m_host.controlesDados(true);
        --controlesDesligados;
    };
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
            gravaLinha(*arquivo, monta(saidas, m_params.codigoEmpresa));
        }
    };

    try {
        m_host.painelStatus(true, kCorProcessando);
        desligaControles();
        arquivo = criaArquivo(m_params.Diretorio + m_params.NomeArquivo + ".SAI");
        gravaLivro(&MontaRegistroSaida);

        m_dm.ConsultaSaidas("E", m_params.DataInicial, m_params.DataFinal, m_params.empresa);

        if (!saidas.isEmpty()) {
            m_host.painelStatus(false, kCorProcessando);
            std::unique_ptr<TextFile> vendas = std::move(arquivo);
            vendas->close();
            religaControles();
            arquivo = criaArquivo(m_params.Diretorio + m_params.NomeArquivo + ".ENT");
            m_host.lblArquivo("ARQUIVO: " + m_params.NomeArquivo + ".ENT");
            m_host.painelStatus(true, kCorProcessando);
            m_host.repinta();
            desligaControles();
            m_host.gaugePosicao(0);
            gravaLivro(&MontaRegistroEntrada);
        }

        ExportaMovimentoBancario();
    } catch (const std::exception& e) {
        falhou = true;
        m_erro = e.what();
        m_host.mensagem(mensagemFalha(m_erro), MessageIcon::Error);
    }

    // Final reset, on every path.
    if (arquivo) {
        try {
            arquivo->close();
        } catch (const std::exception& e) {
            // Data may be missing from the file: never followed by the completion message.
            if (!falhou) {
                falhou = true;
                m_erro = e.what();
                m_host.mensagem(mensagemFalha(m_erro), MessageIcon::Error);
            }
        }
        arquivo.reset();
    }
    while (controlesDesligados > 0) religaControles();
    m_host.painelStatus(false, kCorJanela);
    m_host.gaugePosicao(0);
    m_host.lblMovimento("Status do processamento");
    m_host.lblArquivo("");
    m_host.titulo("Zorla Exporta");
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
    std::unique_ptr<TextFile> arquivo = criaArquivo(nomeArquivo);
    const int fDevedora = mov.fieldIndex("DEVEDORA"), fCredora = mov.fieldIndex("CREDORA"),
              fDocumento = mov.fieldIndex("DOCUMENTO"), fParcela = mov.fieldIndex("PARCELA"),
              fValor = mov.fieldIndex("VALOR"), fHistorico = mov.fieldIndex("HISTORICO"), fData = mov.fieldIndex("DATA"),
              fCentro = mov.fieldIndex("CENTROCUSTO"), fLocal = mov.fieldIndex("LOCAL_CCUSTO"),
              fNomeCredor = mov.fieldIndex("NOMECREDOR"), fNomeDevedor = mov.fieldIndex("NOMEDEVEDOR");
    auto campo = [&](int index) { return FieldRef(mov, index); };

    for (; !mov.eof(); mov.next()) {
        const std::string credora = campo(fCredora).asString();
        const std::string devedora = campo(fDevedora).asString();
        if (credora.empty())
            m_host.mensagem(cp1252ToUtf8(campo(fNomeCredor).asString()) + "\r\nsem código contábil definido.",
                            MessageIcon::Error);
        else if (devedora.empty())
            m_host.mensagem(cp1252ToUtf8(campo(fNomeDevedor).asString()) + "\r\nsem código contábil definido.",
                            MessageIcon::Error);
        avancaGauge();

        const std::string documento = campo(fDocumento).asString();
        const std::string doc = PadLeft(documento, 6, ' ');
        std::string deb = PadLeft(devedora, 7, ' ');
        std::string cred = PadLeft(credora, 7, ' ');
        if (std::int64_t centro = campo(fCentro).asInteger(); centro > 0) {
            std::string& alvo = campo(fLocal).asString() == "D" ? deb : cred;
            if (alvo[0] == '6') alvo.replace(3, 2, centro == 1 ? "01" : "02");
        }
        const std::string cabeca = deb + cred + "  " + doc + "     ";
        const std::string data = DataDDMMAA(campo(fData).asDate());
        const std::string valor = CampoNumerico(campo(fValor).asDecimal(), 12, '0', documento, "VALOR");
        const std::string semValor(12, '0');

        if (!prefixo.empty()) {
            gravaLinha(*arquivo, cabeca + "1" + PadLeft(prefixo, 29, ' ') + semValor + data);
            gravaLinha(*arquivo, cabeca + "2" + PadLeft(doc + "/" + campo(fParcela).asString(), 29, ' ') + valor + data);
        } else {
            const std::string historico = campo(fHistorico).asString();
            // The length test ignores blanks at the ends; the slices keep them.
            if (trimControl(historico).size() <= 29) {
                gravaLinha(*arquivo, cabeca + "1" + PadLeft(historico, 29, ' ') + valor + data);
            } else {
                gravaLinha(*arquivo, cabeca + "1" + PadLeft(historico, 29, ' ') + semValor + data);
                gravaLinha(*arquivo, cabeca + "2" + PadLeft(historico.substr(29, 29), 29, ' ') + valor + data);
            }
        }
    }
    arquivo->close();
}

}  // namespace zorla
