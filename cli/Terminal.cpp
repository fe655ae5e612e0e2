#include "cli/Terminal.h"

#include "base/TextoVisivel.h"
#include "sistema/SinaisDeParada.h"

namespace zorla {

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
