#pragma once

#include <memory>
#include <stop_token>
#include <string>
#include <thread>

#include "comparacao/ColetorDeRegistros.h"
#include "export/EventosDaExportacao.h"
#include "export/ParametrosDaExecucao.h"
#include "sistema/ArquivosNoDisco.h"
#include "sistema/ConsultaParalela.h"
#include "sistema/ConsultasAntecipadas.h"

namespace zorla {

class TFDMExporta;
class ClientDataSet;

// Where a run's sales come from: the rows the last consult left in the data module (the window's), or fetched by
// the run itself as it writes, each record written as its row arrives (the command line's).
enum class FonteDasVendas { Consulta, Busca };

// A run's purchases and cash/bank movements: already under way, or how to start them at the run's start, each on an
// attachment of its own; with neither, the run consults them in turn on its own module.
struct OutrasConsultas {
    ConsultasAntecipadas antecipadas;
    ConsultaParalela::NovoModulo novoModulo;
};

// One export run on its own worker thread, started when it is made: the fiscal books, then the cash/bank entry
// files. It reports what happens as events. A stop ends the fiscal books before their next record; a query is
// stopped by a stop that comes while it runs, not by one before it, so that a cancel still writes the entry files.
class ThProcessa {
public:
    ThProcessa(TFDMExporta& dm, FonteDasVendas vendas, OutrasConsultas outras, ParametrosDaExecucao params,
               EventosDaExportacao& eventos, DestinoDosArquivos& arquivos, std::stop_token parada);
    ~ThProcessa();  // waits for the worker
    ThProcessa(const ThProcessa&) = delete;
    ThProcessa& operator=(const ThProcessa&) = delete;

    void wait();
    // Valid once the run has ended.
    const ResultadoDaExportacao& resultado() const { return m_resultado; }

private:
    // An output file of the run and its entry in the list of files written.
    struct Saida {
        std::unique_ptr<ArquivoEmGravacao> arquivo;
        std::size_t indice = 0;
        bool falhou = false;
    };

    // The thread body: lowest priority, then the run.
    void Execute();
    void GeraArquivos();
    void confereOsArquivosNoLugar();
    void contaAsDiferencas();
    void ExportaMovimentoBancario();
    void GravaLancamentos(ClientDataSet& movimentos, TipoArquivo tipo, const std::string& arquivo,
                          const std::string& prefixo);

    Saida criaArquivo(TipoArquivo tipo, const std::string& path);
    void gravaLinha(Saida& saida, const std::string& line);
    void fechaArquivo(Saida& saida);
    void marcaIncompleto(Saida& saida);
    void registraFalha(const std::exception& e);
    void gravaLivros(Saida& livro);
    bool gravaRegistros(Saida& livro, Etapa etapa, ClientDataSet& linhas, int& numero);
    void gravaVendasAoChegar(Saida& livro);
    void cancelado();
    ClientDataSet& compras();
    // What stops a query of the run: a stop that comes while it runs.
    std::stop_token paradaDaConsulta() const;
    std::string caminho(TipoArquivo tipo) const;

    TFDMExporta& m_dm;
    FonteDasVendas m_vendas;
    OutrasConsultas m_outras;
    ParametrosDaExecucao m_params;
    EventosDaExportacao& m_eventos;
    DestinoDosArquivos& m_files;
    std::stop_token m_parada;
    ResultadoDaExportacao m_resultado;
    std::vector<std::string> m_identidades;  // of each file as created, in the order of m_resultado.arquivos
    // Of each file that replaces this period's and company's: its records as written, against the replaced file's.
    std::vector<std::unique_ptr<ColetorDeRegistros>> m_coletores;
    bool m_cancelamentoVisto = false;
    int m_registrosDoMovimento = 0;  // across the three entry files
    std::thread m_thread;            // last: it starts once the rest is made
};

}  // namespace zorla
