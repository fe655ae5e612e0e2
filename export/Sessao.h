#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <vector>

#include "base/Escrita.h"
#include "base/Periodo.h"
#include "base/Recusa.h"
#include "data/FieldDef.h"
#include "data/PackedRows.h"
#include "export/EventosDaExportacao.h"
#include "export/Execucao.h"
#include "export/PedidoDeExportacao.h"
#include "export/SaidaPreparada.h"
#include "verificacao/Verificacao.h"

namespace zorla {

class TFDMExporta;
class DestinoDosArquivos;
class ConsultasAntecipadas;
struct OutrasConsultas;
enum class FonteDasVendas;

struct Empresa {
    std::int64_t codigo = 0;
    std::string fantasia;  // code page 1252
    std::string cnpj;      // code page 1252
};

// The rows of the last consult, as the window's grid shows them.
struct VendasConsultadas {
    std::shared_ptr<const PackedRows> linhas;
    std::vector<FieldDef> campos;
};

// The one way the window, the command line and a batch reach a connection and a run: the companies, the consult,
// the gate that prepares a run's output, the run, the check. A company the connection does not have is refused
// (EmpresaNaoEncontrada) before anything is consulted or written. Every long call takes a stop token: once it is
// stopped, what runs on the server is cancelled.
class Sessao {
public:
    explicit Sessao(std::string arquivoDeConexao);
    explicit Sessao(std::unique_ptr<TFDMExporta> dm);
    ~Sessao();
    Sessao(const Sessao&) = delete;
    Sessao& operator=(const Sessao&) = delete;

    const std::string& arquivoDeConexao() const;
    // dbxconnections.ini beside the program.
    static std::string ArquivoDeConexaoPadrao();

    // The companies of the connection in code order; the first call connects.
    std::vector<Empresa> empresas(std::stop_token parada = {});
    // The period's sales of a company: the rows the next run writes into the sales book. The run's other two
    // queries start with it, each on an attachment of its own, and the run of that period and company takes them.
    void consulta(const Periodo& periodo, std::int64_t empresa, std::stop_token parada = {});
    // Whether the last consult's rows are there for a run: none after a run, which may have read others.
    bool temConsulta() const;
    VendasConsultadas vendasConsultadas() const;

    // The gate to every run, all of it before anything is written: the names the run writes examined; a totals file
    // that is one the run reads or writes refused; a folder that is there examined; the company looked for (which
    // connects, unless the consult did); a folder that is not there made (when asked); the folder locked; what it
    // holds under the run's names read back, and another export's files, or files of no export, refused unless their
    // replacement was asked for. What keeps the run from starting comes back refused.
    OuRecusa<SaidaPreparada> preparaSaida(const PedidoDeExportacao& pedido, std::stop_token parada = {});
    // A run over the consulted rows, on its worker from now on (the window's).
    std::unique_ptr<Execucao> inicia(SaidaPreparada saida, EventosDaExportacao& eventos, std::stop_token parada,
                                     DestinoDosArquivos* arquivos = nullptr);
    // The consult and the run, to their end (the command line's and a batch's): the sales written as they arrive.
    std::unique_ptr<Execucao> exporta(SaidaPreparada saida, EventosDaExportacao& eventos, std::stop_token parada,
                                      DestinoDosArquivos* arquivos = nullptr);

    ResultadoDaVerificacao verifica(const Periodo& periodo, std::int64_t empresa, std::stop_token parada = {});
    // The check written out as it is read, holding only its errors (the command line's).
    ContagemDaVerificacao verificaParaASaida(const Periodo& periodo, std::int64_t empresa, bool csv,
                                             const Escrita& escreve, std::stop_token parada = {});
    // The queries of a run or a check one after the other on this connection, none on attachments of their own:
    // for a batch whose lines already keep the cores busy.
    void umaConsultaPorVez() { m_paralelo = false; }

private:
    bool temEmpresa(std::int64_t codigo, std::stop_token parada);
    void aceitaEmpresa(std::int64_t codigo, std::stop_token parada);
    OuRecusa<void> aceitaOsTotais(const PedidoDeExportacao& pedido, const std::string& diretorio) const;
    std::function<std::unique_ptr<TFDMExporta>()> outroModulo() const;
    static std::unique_ptr<DestinoDosArquivos> discoDaExecucao(const SaidaPreparada& saida, DestinoDosArquivos* outro);
    std::unique_ptr<Execucao> comeca(SaidaPreparada saida, FonteDasVendas fonte, OutrasConsultas&& outras,
                                     EventosDaExportacao& eventos, std::stop_token parada,
                                     DestinoDosArquivos* arquivos);

    std::unique_ptr<TFDMExporta> m_dm;
    std::unique_ptr<ConsultasAntecipadas> m_antecipadas;
    bool m_paralelo = true;
    bool m_consultaValida = false;
    std::int64_t m_empresaConsultada = 0;
};

// "Empresa 9 não encontrada.", and where the command line lists the connection's companies.
Recusa RecusaDaEmpresa(std::int64_t codigo);

}  // namespace zorla
