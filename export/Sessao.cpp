#include "export/Sessao.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "base/Cp1252.h"
#include "base/TextUtil.h"
#include "data/DMVantero.h"
#include "export/ArquivosAnteriores.h"
#include "export/ArquivosDaExecucao.h"
#include "export/EmpresaNaoEncontrada.h"
#include "export/ThProcessa.h"
#include "sistema/ArquivosNoDisco.h"
#include "sistema/ConsultasAntecipadas.h"
#include "sistema/PastaDosArquivos.h"
#include "sistema/TravaPasta.h"
#include "verificacao/VerificacaoDoPeriodo.h"
#include "verificacao/VerificacaoParaASaida.h"

namespace zorla {

Sessao::Sessao(std::string arquivoDeConexao) : Sessao(std::make_unique<TFDMExporta>(std::move(arquivoDeConexao))) {}

Sessao::Sessao(std::unique_ptr<TFDMExporta> dm)
    : m_dm(std::move(dm)), m_antecipadas(std::make_unique<ConsultasAntecipadas>()) {}

Sessao::~Sessao() = default;

const std::string& Sessao::arquivoDeConexao() const { return m_dm->ArquivoDeConexao(); }

std::string Sessao::ArquivoDeConexaoPadrao() { return TFDMExporta::ArquivoDeConexaoPadrao(); }

std::vector<Empresa> Sessao::empresas(std::stop_token parada) {
    ClientDataSet& lista = m_dm->AbreEmpresas(std::move(parada));
    const int codigo = lista.fieldIndex("CODEMPRESA"), fantasia = lista.fieldIndex("FANTASIA"),
              cnpj = lista.fieldIndex("CNPJ");
    std::vector<Empresa> out;
    for (lista.first(); !lista.eof(); lista.next())
        out.push_back(Empresa{FieldRef(lista, codigo).asInteger(), FieldRef(lista, fantasia).asString(),
                              FieldRef(lista, cnpj).asString()});
    lista.first();
    return out;
}

bool Sessao::temEmpresa(std::int64_t codigo, std::stop_token parada) {
    const std::vector<Empresa> lista = empresas(std::move(parada));
    return std::any_of(lista.begin(), lista.end(), [codigo](const Empresa& e) { return e.codigo == codigo; });
}

void Sessao::aceitaEmpresa(std::int64_t codigo, std::stop_token parada) {
    if (!temEmpresa(codigo, std::move(parada))) throw EmpresaNaoEncontrada(codigo);
}

Recusa RecusaDaEmpresa(std::int64_t codigo) {
    return Recusa{std::string(EmpresaNaoEncontrada(codigo).what()) +
                  " As empresas desta conexão: zorla-exporta-cli --listar-empresas."};
}

void Sessao::consulta(const Periodo& periodo, std::int64_t empresa, std::stop_token parada) {
    m_consultaValida = false;
    aceitaEmpresa(empresa, parada);
    m_empresaConsultada = empresa;
    *m_antecipadas = {};
    // Attached before the sales are fetched: opening one while another fetches stalls.
    if (m_paralelo)
        *m_antecipadas = ConsultasAntecipadas::inicia(outroModulo(), periodo.DataInicial, periodo.DataFinal, empresa);
    try {
        m_dm->ConsultaSaidas("S", periodo.DataInicial, periodo.DataFinal, empresa, std::move(parada));
    } catch (...) {
        *m_antecipadas = {};
        throw;
    }
    m_consultaValida = true;
}

bool Sessao::temConsulta() const { return m_consultaValida && m_dm->Saidas().active(); }

VendasConsultadas Sessao::vendasConsultadas() const {
    const ClientDataSet& saidas = m_dm->Saidas();
    return {saidas.rows(), saidas.fields()};
}

ParametrosDaExecucao ParametrosDoPedido(const PedidoDeExportacao& pedido) {
    ParametrosDaExecucao params;
    params.Diretorio = DiretorioDe(pedido.pasta);
    params.NomeArquivo = pedido.periodo.NomeArquivo;
    params.DataInicial = pedido.periodo.DataInicial;
    params.DataFinal = pedido.periodo.DataFinal;
    params.Empresa = pedido.empresa;
    params.CodigoEmpresa = pedido.codigoEmpresa;
    return params;
}

OuRecusa<SaidaPreparada> Sessao::preparaSaida(const PedidoDeExportacao& pedido, std::stop_token parada) {
    ParametrosDaExecucao params = ParametrosDoPedido(pedido);
    if (OuRecusa<void> nomes = ExaminaOsNomes(params.Diretorio, params.NomeArquivo); !nomes) return nomes.recusa();
    if (OuRecusa<void> totais = aceitaOsTotais(pedido, params.Diretorio); !totais) return totais.recusa();
    // A folder that is there must take the files and be free, said before any query; one that is not is made only
    // once the company, and with it the connection, is known to be good.
    const std::string pasta(trimControl(pedido.pasta));
    OuRecusa<void> examinada = ExaminaPasta(pasta);
    const bool falta = !examinada && examinada.recusa().pergunta == Recusa::Pergunta::CriaPasta;
    if (!examinada && (!falta || !pedido.criaPasta)) return examinada.recusa();
    std::optional<TravaPasta> trava;
    if (!falta && !(trava = TravaPasta::tenta(params.Diretorio)))
        return Recusa{MensagemPastaOcupada(pedido.pasta), Recusa::Motivo::Ambiente};
    if (!(m_consultaValida && m_empresaConsultada == pedido.empresa) && !temEmpresa(pedido.empresa, parada))
        return RecusaDaEmpresa(pedido.empresa);
    if (falta) {
        if (OuRecusa<void> criada = CriaPasta(pasta); !criada) return criada.recusa();
        if (OuRecusa<void> nova = ExaminaPasta(pasta); !nova) return nova.recusa();
        if (!(trava = TravaPasta::tenta(params.Diretorio)))
            return Recusa{MensagemPastaOcupada(pedido.pasta), Recusa::Motivo::Ambiente};
    }
    // Under the lock: what the folder holds now is what the run will find.
    const std::vector<ArquivoAnterior> anteriores = ExaminaArquivosAnteriores(params);
    if (!pedido.substitui)
        if (OuRecusa<void> aceitos = AceitaOsAnteriores(anteriores, pasta); !aceitos) return aceitos.recusa();
    for (const ArquivoAnterior& a : anteriores) {
        params.Anteriores.push_back(a.caminho);
        if (a.registros) params.RegistrosAnteriores[a.caminho] = a.registros;
    }
    return SaidaPreparada(std::move(params), std::make_unique<TravaPasta>(std::move(*trava)), falta);
}

OuRecusa<void> Sessao::aceitaOsTotais(const PedidoDeExportacao& pedido, const std::string& diretorio) const {
    if (!pedido.arquivoDosTotais) return {};
    ArquivosDaExecucao arquivos;
    arquivos.conexao(arquivoDeConexao());
    arquivos.saida(diretorio, pedido.periodo.NomeArquivo);
    return arquivos.aceita(*pedido.arquivoDosTotais);
}

// The run's files made in its folder as it was locked, whatever the folder's name comes to name meanwhile.
std::unique_ptr<DestinoDosArquivos> Sessao::discoDaExecucao(const SaidaPreparada& saida, DestinoDosArquivos* outro) {
    if (outro) return nullptr;
    return std::make_unique<ArquivosNoDisco>(saida.m_trava ? saida.m_trava->descritor() : -1, saida.m_params.Diretorio);
}

std::unique_ptr<Execucao> Sessao::inicia(SaidaPreparada saida, EventosDaExportacao& eventos, std::stop_token parada,
                                         DestinoDosArquivos* arquivos) {
    const ParametrosDaExecucao& p = saida.m_params;
    // The queries the consult started are this run's when they are of its period and company; others are let go.
    ConsultasAntecipadas antecipadas = std::exchange(*m_antecipadas, {});
    if (!antecipadas.de(p.DataInicial, p.DataFinal, p.Empresa)) antecipadas = {};
    return comeca(std::move(saida), FonteDasVendas::Consulta, OutrasConsultas{std::move(antecipadas), outroModulo()},
                  eventos, std::move(parada), arquivos);
}

std::unique_ptr<Execucao> Sessao::exporta(SaidaPreparada saida, EventosDaExportacao& eventos, std::stop_token parada,
                                          DestinoDosArquivos* arquivos) {
    // The purchases and the movements are fetched on their own attachments while the sales are, and the sales book
    // is written as its rows arrive.
    auto execucao = comeca(std::move(saida), FonteDasVendas::Busca, OutrasConsultas{{}, outroModulo()}, eventos,
                           std::move(parada), arquivos);
    execucao->espera();
    return execucao;
}

std::unique_ptr<Execucao> Sessao::comeca(SaidaPreparada saida, FonteDasVendas fonte, OutrasConsultas&& outras,
                                         EventosDaExportacao& eventos, std::stop_token parada,
                                         DestinoDosArquivos* arquivos) {
    m_consultaValida = false;
    auto disco = discoDaExecucao(saida, arquivos);
    auto run = std::make_unique<ThProcessa>(*m_dm, fonte, std::move(outras), saida.m_params, eventos,
                                            arquivos ? *arquivos : *disco, std::move(parada));
    return std::make_unique<Execucao>(std::move(saida.m_trava), std::move(disco), std::move(run));
}

ConsultaParalela::NovoModulo Sessao::outroModulo() const {
    if (!m_paralelo) return {};
    return [arquivo = m_dm->ArquivoDeConexao()] {
        auto dm = std::make_unique<TFDMExporta>(arquivo);
        dm->Conecta();
        return dm;
    };
}

ResultadoDaVerificacao Sessao::verifica(const Periodo& periodo, std::int64_t empresa, std::stop_token parada) {
    aceitaEmpresa(empresa, parada);
    return Verifica(*m_dm, periodo, empresa, outroModulo(), std::move(parada));
}

ContagemDaVerificacao Sessao::verificaParaASaida(const Periodo& periodo, std::int64_t empresa, bool csv,
                                                 const Escrita& escreve, std::stop_token parada) {
    aceitaEmpresa(empresa, parada);
    return VerificaParaASaida(*m_dm, periodo, empresa, outroModulo(), csv, escreve, std::move(parada));
}

std::string DiretorioDe(const std::string& pastaDigitada) {
    std::string d(trimControl(pastaDigitada));
    const char sep = static_cast<char>(std::filesystem::path::preferred_separator);
    if (d.empty() || d.back() != sep) d += sep;
    return d;
}

std::optional<std::string> AvisoDeCodigoCortado(const std::string& digitado) {
    const std::string cp1252 = utf8ToCp1252(digitado);
    if (cp1252.size() <= 4) return std::nullopt;
    return "Aviso: o código '" + digitado + "' tem mais de 4 caracteres; os arquivos levam '" +
           cp1252ToUtf8(cp1252.substr(0, 4)) + "'.";
}

std::string MensagemPastaCriada(const std::string& pasta) { return "A pasta " + pasta + " não existia e foi criada."; }

SaidaPreparada::SaidaPreparada(ParametrosDaExecucao params, std::unique_ptr<TravaPasta> trava, bool criada)
    : m_params(std::move(params)), m_trava(std::move(trava)), m_criada(criada) {}
SaidaPreparada::SaidaPreparada(SaidaPreparada&&) noexcept = default;
SaidaPreparada& SaidaPreparada::operator=(SaidaPreparada&&) noexcept = default;
SaidaPreparada::~SaidaPreparada() = default;

}  // namespace zorla
