#pragma once

#include <atomic>
#include <stop_token>
#include <string>

#include "export/EventosDaExportacao.h"
#include "verificacao/Verificacao.h"

namespace zorla {

// What one line of a batch has come to.
struct AndamentoDoLote {
    enum class Estado { Esperando, Rodando, Concluida, ComPendencias, Falhou, Cancelada };
    Estado estado = Estado::Esperando;
    std::string erro;
    ResultadoDaExportacao resultado;
    ResultadoDaVerificacao verificacao;
    std::atomic<int> posicao{0}, maximo{0};
    std::stop_source parada;  // the line's own, stopped with the program's
    std::string banco;        // an embedded database file, which two exports may not share
    bool relatado = false;    // its end has been told
};

// A line whose files were all written, whatever they hold.
inline bool Completou(AndamentoDoLote::Estado e) {
    return e == AndamentoDoLote::Estado::Concluida || e == AndamentoDoLote::Estado::ComPendencias;
}
// "concluída", "concluída com pendências", "falhou", "cancelada"; nothing for a line that waits or runs.
const char* NomeDoEstado(AndamentoDoLote::Estado e);

}  // namespace zorla
