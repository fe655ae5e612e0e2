#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "export/ConsultaParalela.h"
#include "export/ConsultasAntecipadas.h"
#include "export/EventosDaExportacao.h"
#include "export/OutputFiles.h"
#include "export/RunParameters.h"
#include "export/TravaPasta.h"

namespace zorla {

class TFDMExporta;
class ClientDataSet;

// One export run on its own worker thread: the fiscal books, then the cash/bank entry files. It reports what
// happens as events and stops writing the fiscal books when the cancel flag is set.
class ThProcessa {
public:
    ThProcessa(TFDMExporta& dm, EventosDaExportacao& eventos, const std::atomic<bool>& cancelado, RunParameters params,
               OutputFiles& files);
    ~ThProcessa();  // waits for the worker
    ThProcessa(const ThProcessa&) = delete;
    ThProcessa& operator=(const ThProcessa&) = delete;

    // The run keeps its output folder locked until it is destroyed.
    void mantemTrava(TravaPasta trava) { m_trava = std::move(trava); }
    // The purchases and the cash/bank movements fetched each on its own attachment from the moment the run starts,
    // while it writes the sales book; without it, one after the other on the run's own.
    void emParalelo(ConsultaParalela::NovoModulo novoModulo) { m_novoModulo = std::move(novoModulo); }
    // Attaches and starts those two queries now, before the run: while the sales are consulted.
    void antecipaConsultas();
    // Those two queries already under way, when they are of the run's period and company (the window's, asked
    // for with its consult); others are let go.
    void usaConsultas(ConsultasAntecipadas consultas);
    // The sales are not consulted before the run: it fetches them itself and writes each record as its row arrives.
    void leVendasAoGravar() { m_vendasAoGravar = true; }
    // Starts the worker at once.
    void start();
    void wait();

    // The thread body: lowest priority, then the run.
    void Execute();
    void GeraArquivos();
    void ExportaMovimentoBancario();
    void GravaLancamentos(TipoArquivo tipo, const std::string& arquivo, const std::string& prefixo);

    // Valid once the run has ended.
    const ResultadoDaExportacao& resultado() const { return m_resultado; }

private:
    // An output file of the run and its entry in the list of files written.
    struct Saida {
        std::unique_ptr<TextFile> arquivo;
        std::size_t indice = 0;
        bool falhou = false;
    };
    Saida criaArquivo(TipoArquivo tipo, const std::string& path);
    void gravaLinha(Saida& saida, const std::string& line);
    void fechaArquivo(Saida& saida);
    void marcaIncompleto(Saida& saida);
    void registraFalha(const std::exception& e);
    void gravaLivros(Saida& livro);
    void gravaLivro(Saida& livro, Etapa etapa, ClientDataSet& linhas);
    bool gravaRegistros(Saida& livro, Etapa etapa, ClientDataSet& linhas, int& numero);
    void gravaVendasAoChegar(Saida& livro);
    std::string caminho(TipoArquivo tipo) const;

    TFDMExporta& m_dm;
    EventosDaExportacao& m_eventos;
    const std::atomic<bool>& m_cancelado;
    RunParameters m_params;
    OutputFiles& m_files;
    std::optional<TravaPasta> m_trava;
    std::thread m_thread;
    ResultadoDaExportacao m_resultado;
    bool m_cancelamentoVisto = false;
    int m_registrosDoMovimento = 0;  // across the three entry files
    ConsultaParalela::NovoModulo m_novoModulo;
    ConsultasAntecipadas m_consultas;
    ClientDataSet* m_linhasDoMovimento = nullptr;
    bool m_vendasAoGravar = false;
    bool m_antecipadas = false;  // tried once, whether attached or not
};

}  // namespace zorla
