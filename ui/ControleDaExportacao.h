#pragma once

#include <memory>
#include <stop_token>
#include <string>

#include "export/Execucao.h"
#include "export/SaidaPreparada.h"

class QObject;

namespace zorla {

class DestinoDosArquivos;
class EventosNaJanela;
class Sessao;
class VisorDaExportacao;

// The run as the window keeps it: the run under way and its stop, the host that draws it, and the two flags the
// operator's actions set. Window's thread only.
class ControleDaExportacao {
public:
    ControleDaExportacao(Sessao& sessao, VisorDaExportacao& visor, QObject* dono);
    ~ControleDaExportacao();  // stops a run still under way and waits for it

    // A run was started and neither cancelled nor ended; the operator cancelled since the last consult.
    bool Exportando = false;
    bool Cancelado = false;

    bool emAndamento() const { return m_run != nullptr; }
    // Where runs write; tests put a failing device here.
    void usaArquivos(DestinoDosArquivos& arquivos) { m_arquivos = &arquivos; }
    // A run over the consulted rows, on its worker from now on.
    void inicia(SaidaPreparada saida);
    // "Cancelar": the run stops writing the fiscal books, and the two books of that folder and period are removed,
    // once a run under way has closed them.
    void cancela(const std::string& diretorio, const std::string& nomeArquivo);
    // The window closes: a run under way stops; its boxes are no longer shown.
    void fecha();
    // Once the run's end has been shown: the worker ended, its folder let go.
    void termina();

private:
    void apagaLivros(const std::string& diretorio, const std::string& nomeArquivo);

    Sessao& m_sessao;
    std::unique_ptr<EventosNaJanela> m_host;
    DestinoDosArquivos* m_arquivos = nullptr;
    std::stop_source m_parada;
    std::unique_ptr<Execucao> m_run;
    // Cancelled during a run: its books go once it has closed them.
    std::string m_diretorioAApagar, m_nomeAApagar;
};

}  // namespace zorla
