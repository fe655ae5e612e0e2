#pragma once

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>

#include "ExportHost.h"

namespace zorla {

// Hosts a run in a terminal: message boxes and progress go to stderr; a bar when stderr is a terminal.
class TerminalHost : public ExportHost {
public:
    TerminalHost(const std::atomic<bool>& cancelado, std::FILE* out, bool terminal);

    bool cancelado() const override { return m_cancelado.load(); }
    void terminaExportacao() override;
    void painelStatus(bool, Rgb) override {}
    void lblMovimento(const std::string& texto) override;
    void lblArquivo(const std::string& texto) override;
    void gaugeMaximo(int maximo) override;
    void gaugePosicao(int posicao) override;
    void titulo(const std::string&) override {}
    void repinta() override {}
    void mensagem(const std::string& texto, MessageIcon icone) override;
    void controlesDados(bool) override {}

private:
    void desenhaBarra(bool forcar);
    void limpaBarra();

    const std::atomic<bool>& m_cancelado;
    std::FILE* m_out;
    bool m_terminal;
    std::string m_etapa;
    int m_maximo = 0;
    int m_posicao = 0;
    bool m_barraVisivel = false;
    std::chrono::steady_clock::time_point m_ultimoDesenho{};
};

}  // namespace zorla
