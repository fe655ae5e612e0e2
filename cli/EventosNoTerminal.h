#pragma once

#include <chrono>
#include <cstdio>
#include <string>

#include "export/EventosDaExportacao.h"

namespace zorla {

// Draws a run in a terminal: stages, warnings and the end as lines on the error output; a progress bar as well
// when that output is a terminal.
class EventosNoTerminal : public EventosDaExportacao {
public:
    // The folder as the operator typed it, named in the completion message.
    EventosNoTerminal(std::FILE* out, bool terminal, std::string pasta);

    void etapaIniciada(Etapa etapa, int registros) override;
    void registroFeito(int numero, std::string_view movimento) override;
    void arquivoIniciado(TipoArquivo tipo, const std::string& caminho) override;
    void aviso(const Aviso& aviso) override;
    void terminou(const ResultadoDaExportacao& resultado) override;

private:
    void mostraEtapa(const std::string& texto);
    void escreve(const std::string& texto);
    void desenhaBarra(bool forcar);
    void limpaBarra();

    std::FILE* m_out;
    bool m_terminal;
    std::string m_pasta;
    std::string m_etapa;
    int m_maximo = 0;
    int m_posicao = 0;
    bool m_barraVisivel = false;
    std::chrono::steady_clock::time_point m_ultimoDesenho{};
};

}  // namespace zorla
