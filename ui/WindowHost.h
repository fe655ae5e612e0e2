#pragma once

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>

#include "ExportHost.h"

namespace zorla {

class TFrmPrincipal;

// Hands the run's calls to the window's thread. Status updates are merged into one pending state applied at
// the next turn of the event loop, so a million records never flood the queue; every message box applies the
// pending state first, and the worker waits until the operator closes the box.
class WindowHost : public ExportHost {
public:
    explicit WindowHost(TFrmPrincipal& janela);

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

    // The window is closing: boxes are no longer shown and a waiting worker goes on.
    void fecha();
    // Applies what is pending; window's thread only.
    void aplica();

private:
    struct Estado {
        std::optional<bool> painelVisivel;
        std::optional<Rgb> painelCor;
        std::optional<std::string> movimento, arquivo, titulo;
        std::optional<int> maximo, posicao;
        std::optional<bool> controles;
        bool repinta = false;
    };
    template <class F>
    void altera(F&& mudanca);

    TFrmPrincipal& m_janela;
    std::mutex m_mutex;
    std::condition_variable m_respostas;
    Estado m_pendente;
    bool m_agendado = false;
    bool m_fechando = false;
    unsigned long m_pedidos = 0;
    unsigned long m_respondidos = 0;
};

}  // namespace zorla
