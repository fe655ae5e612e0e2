#include "cli/Terminal.h"

#ifndef _WIN32
#include <poll.h>
#include <unistd.h>
#endif

#include "base/TextoVisivel.h"
#include "sistema/SinaisDeParada.h"

namespace zorla {

bool LeitorDaSaidaFoiEmbora() {
#ifdef _WIN32
    return false;
#else
    pollfd p{STDOUT_FILENO, 0, 0};
    return ::poll(&p, 1, 0) == 1 && (p.revents & POLLERR) != 0;
#endif
}

int DizARecusa(const Recusa& recusa) {
    std::fprintf(stderr, "%s\n", Visivel(recusa.mensagem).c_str());
    return recusa.motivo == Recusa::Motivo::Pedido ? kStatusArgumentos : 1;
}

std::string MensagemTempoEsgotado(int segundos) {
    return "Tempo limite de " + std::to_string(segundos) + " segundos esgotado: a exportação foi cancelada.";
}

void DesisteCom(SinaisDeParada& sinais, int segundosDoLimite, std::string mensagem) {
    EncerraAoDesistir(sinais, [segundosDoLimite, mensagem = std::move(mensagem)](int motivo) {
        return motivo == SinaisDeParada::kTempoEsgotado ? MensagemTempoEsgotado(segundosDoLimite) : mensagem;
    });
}

}  // namespace zorla
