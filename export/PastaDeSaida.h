#pragma once

#include <string>

namespace zorla {

// The output folder, looked at before connecting: a run that would fail on its first file after a long query is
// refused at once, with what to do.
struct ConferenciaDaPasta {
    enum class Estado { Pronta, NaoExiste, NaoEPasta, SemGravacao };
    Estado estado = Estado::Pronta;
    std::string mensagem;  // what is wrong and what to do; empty when ready
};
ConferenciaDaPasta ConferePasta(const std::string& pasta);

// Creates a missing folder with its parents; the operator's message when it could not.
std::string CriaPasta(const std::string& pasta);
// For the command line and a batch: a missing folder is created with its parents, `criada` saying so. The
// operator's message when the folder cannot take the files; empty when ready.
std::string PreparaPasta(const std::string& pasta, bool& criada);
// "A pasta … não existia e foi criada."
std::string mensagemPastaCriada(const std::string& pasta);

}  // namespace zorla
