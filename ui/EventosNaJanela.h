#pragma once

#include <array>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>

#include "export/EventosDaExportacao.h"

class QObject;
class QTimer;

namespace zorla {

class VisorDaExportacao;

// Takes a run's events on its worker thread and draws them on the window's thread. The worker only records what
// is to be shown under a lock; the window draws it at the pace of the screen (every 25 ms), turning numbers into
// text only then, so a million records never flood the event queue and nothing is reordered. A stage is shown to
// its end before the next begins; a warning is shown after what came before it, and the worker waits until the
// operator has closed it.
class EventosNaJanela : public EventosDaExportacao {
public:
    EventosNaJanela(VisorDaExportacao& visor, QObject* dono);
    ~EventosNaJanela() override;

    // A run starts: the window begins to follow it.
    void inicia();
    // The operator cancelled: what the run still reports of its progress is not shown; its boxes still are.
    void ignoraStatus() { m_ignorando = true; }
    // The window is closing: boxes are no longer shown and a waiting worker goes on.
    void fecha();
    // Draws what is pending, shows a requested box, ends the run; window's thread only.
    void aplica();

    void etapaIniciada(Etapa etapa, int registros) override;
    void registroFeito(int numero, std::string_view movimento) override;
    void arquivoIniciado(TipoArquivo tipo, const std::string& caminho) override;
    void aviso(const Aviso& aviso) override;
    void terminou(const ResultadoDaExportacao& resultado) override;

private:
    // What the window shows of the run, as the run last reported it.
    struct Estado {
        bool iniciada = false;
        Etapa etapa = Etapa::LivroSaidas;
        int maximo = 0, posicao = 0;
        int tituloNumero = 0;  // the last fiscal record, shown in the title
        std::array<char, 32> movimento{};
        std::size_t movimentoTamanho = 0;
        std::optional<TipoArquivo> passo;  // the entry file being written
        std::string arquivo;               // the fiscal book being written
        bool mudou = false;
    };
    void esperaMostrar();
    void mostra(const Estado& e);

    VisorDaExportacao& m_visor;
    QTimer* m_relogio;
    std::mutex m_mutex;
    std::condition_variable m_respostas;
    Estado m_estado;
    bool m_fechando = false;
    bool m_ignorando = false;            // window's thread only
    std::optional<std::string> m_aviso;  // requested, not yet shown
    bool m_avisoAberto = false;          // shown, not yet closed
    std::optional<ResultadoDaExportacao> m_resultado;
};

}  // namespace zorla
