#pragma once

#include <string>
#include <thread>
#include <vector>

#include "ExportHost.h"
#include "OutputFiles.h"
#include "RunParameters.h"

namespace zorla {

class TFDMExporta;
class TextFile;

enum class Desfecho { Concluido, Cancelado, Falhou };

struct ArquivoGravado {
    std::string caminho;
    int linhas = 0;
};

// One export run on its own worker thread: the fiscal books, then the cash/bank entry files.
class ThProcessa {
public:
    ThProcessa(TFDMExporta& dm, ExportHost& host, RunParameters params, OutputFiles& files);
    ~ThProcessa();  // waits for the worker
    ThProcessa(const ThProcessa&) = delete;
    ThProcessa& operator=(const ThProcessa&) = delete;

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
    void gravaLinha(TextFile& file, const std::string& line);
    std::unique_ptr<TextFile> criaArquivo(const std::string& path);
    void avancaGauge();

    TFDMExporta& m_dm;
    ExportHost& m_host;
    RunParameters m_params;
    OutputFiles& m_files;
    std::thread m_thread;
    Desfecho m_desfecho = Desfecho::Concluido;
    std::string m_erro;
    std::vector<ArquivoGravado> m_arquivos;
    int m_gaugePosicao = 0;
    int m_gaugeMaximo = 0;
};

// Texts of the run's message boxes; a line break is a single CR.
std::string mensagemFalha(const std::string& erro);
std::string mensagemConcluida(const std::string& pasta);
inline const char* const kMensagemCancelada = "Exportação cancelada!";

}  // namespace zorla
