#pragma once

#include <atomic>
#include <stop_token>
#include <string>

#include "export/EventosDaExportacao.h"
#include "verificacao/Verificacao.h"

namespace zorla {

// What one line of a batch has come to.
struct AndamentoDoLote {
    // A check ends with errors, or with pendências when it found warnings alone; an export with pendências when it
    // wrote movements without an account.
    enum class Estado { Esperando, Rodando, Concluida, ComPendencias, ComErros, Falhou, Cancelada, NaoIniciada };
    Estado estado = Estado::Esperando;
    std::string erro;
    ResultadoDaExportacao resultado;
    ResultadoDaVerificacao verificacao;
    std::atomic<int> posicao{0}, maximo{0};
    std::stop_source parada;  // the line's own, stopped with the program's
    std::string banco;        // an embedded database file, which two exports may not share
    bool relatado = false;    // its end has been told
};

// A line that went to its end: its files all written, or its check all read, whatever they hold.
inline bool Completou(AndamentoDoLote::Estado e) {
    using E = AndamentoDoLote::Estado;
    return e == E::Concluida || e == E::ComPendencias || e == E::ComErros;
}
// "concluída", "concluída com pendências", "concluída com erros", "falhou", "cancelada", "não iniciada" (a stop came
// first); nothing for a line that waits or runs.
const char* NomeDoEstado(AndamentoDoLote::Estado e);

}  // namespace zorla
