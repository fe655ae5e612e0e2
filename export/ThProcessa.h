#pragma once

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ExportHost.h"
#include "OutputFiles.h"
#include "RunParameters.h"
#include "TravaPasta.h"

namespace zorla {

class TFDMExporta;
class TextFile;
class ControlesDesligados;

enum class Desfecho { Concluido, Cancelado, Falhou };

struct ArquivoGravado {
    std::string caminho;
    long linhas = 0;       // whole lines in the file
    bool completo = false;  // closed with every line on the disk
};

// One export run on its own worker thread: the fiscal books, then the cash/bank entry files.
class ThProcessa {
public:
    ThProcessa(TFDMExporta& dm, ExportHost& host, RunParameters params, OutputFiles& files);
    ~ThProcessa();  // waits for the worker
    ThProcessa(const ThProcessa&) = delete;
    ThProcessa& operator=(const ThProcessa&) = delete;

    // The run keeps its output folder locked until it is destroyed.
    void mantemTrava(TravaPasta trava) { m_trava = std::move(trava); }
    // Starts the worker at once.
    void start();
    void wait();
    bool joinable() const { return m_thread.joinable(); }

    // The thread body: lowest priority, then the run.
    void Execute();
    void GeraArquivos();
    void ExportaMovimentoBancario();
    void GravaLancamentos(const std::string& arquivo, const std::string& prefixo);

    // Valid once the run has ended.
    Desfecho desfecho() const { return m_desfecho; }
    const std::string& erro() const { return m_erro; }
    const std::vector<ArquivoGravado>& arquivos() const { return m_arquivos; }

private:
    // An output file of the run and its entry in the list of files written.
    struct Saida {
        std::unique_ptr<TextFile> arquivo;
        std::size_t indice = 0;
        bool falhou = false;
    };
    Saida criaArquivo(const std::string& path);
    void gravaLinha(Saida& saida, const std::string& line);
    void fechaArquivo(Saida& saida);
    void marcaIncompleto(Saida& saida);
    void registraFalha(const std::exception& e);
    void avancaGauge();
    void gravaLivros(Saida& arquivo, std::optional<ControlesDesligados>& desligados);
    void reiniciaStatus();

    TFDMExporta& m_dm;
    ExportHost& m_host;
    RunParameters m_params;
    OutputFiles& m_files;
    std::optional<TravaPasta> m_trava;
    std::thread m_thread;
    Desfecho m_desfecho = Desfecho::Concluido;
    std::string m_erro;  // every failure of the run, one per line
    std::vector<ArquivoGravado> m_arquivos;
    int m_gaugePosicao = 0;
    int m_gaugeMaximo = 0;
};

// Texts of the run's message boxes; a line break is a single CR.
std::string mensagemFalha(const std::string& erro);
std::string mensagemConcluida(const std::string& pasta);
inline const char* const kMensagemCancelada = "Exportação cancelada!";

}  // namespace zorla
