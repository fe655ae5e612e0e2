#pragma once

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>

#include "ExportHost.h"

class QTimer;

namespace zorla {

class TFrmPrincipal;

// Hands the run's calls to the window's thread. The worker only writes a pending state under a lock; the window
// applies it at the pace of the screen, so a million records never flood the event queue and nothing is
// reordered. A message box is shown after the state before it, and the worker waits until the operator closes it.
class WindowHost : public ExportHost {
public:
    explicit WindowHost(TFrmPrincipal& janela);
    ~WindowHost() override;

    // A run starts: the window begins to follow it.
    void inicia();

    bool cancelado() const override;
    void terminaExportacao() override;
    void painelStatus(bool visivel, Rgb cor) override;
    void lblMovimento(const std::string& texto) override;
    void lblArquivo(const std::string& texto) override;
    void gaugeMaximo(int maximo) override;
    void gaugePosicao(int posicao) override;
    void titulo(const std::string& texto) override;
    void repinta() override;
    void mensagem(const std::string& texto, MessageIcon icone) override;
    void controlesDados(bool ativos) override;

    // The operator cancelled: what the run still reports of its progress is not shown; its boxes still are.
    void ignoraStatus() { m_ignorando = true; }
    // The window is closing: boxes are no longer shown and a waiting worker goes on.
    void fecha();
    // Applies what is pending, shows a requested box, ends the run; window's thread only.
    void aplica();

private:
    struct Estado {
        std::optional<bool> painelVisivel;
        std::optional<Rgb> painelCor;
        std::optional<std::string> movimento, arquivo, titulo;
        std::optional<int> maximo, posicao;
        bool repinta = false;
        bool vazio() const {
            return !painelVisivel && !painelCor && !movimento && !arquivo && !titulo && !maximo && !posicao && !repinta;
        }
    };
    // A new stage begins: the last state of the one before is shown first.
    void esperaMostrar();
    void mostra(const Estado& e);
    template <class F>
    void altera(F&& mudanca);

    TFrmPrincipal& m_janela;
    QTimer* m_relogio;
    std::mutex m_mutex;
    std::condition_variable m_respostas;
    Estado m_pendente;
    bool m_fechando = false;
    bool m_ignorando = false;  // window's thread only
    bool m_terminou = false;
    std::optional<std::pair<std::string, MessageIcon>> m_caixa;  // requested, not yet shown
    bool m_caixaAberta = false;                                  // shown, not yet closed
};

}  // namespace zorla
