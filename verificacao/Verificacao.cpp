#include "verificacao/Verificacao.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "leiaute/Leiaute.h"

namespace zorla {

int ResultadoDaVerificacao::erros() const {
    if (errosContados) return *errosContados;
    return static_cast<int>(std::count_if(problemas.begin(), problemas.end(),
                                          [](const Problema& p) { return p.gravidade == Gravidade::Erro; }));
}

int ResultadoDaVerificacao::avisos() const { return static_cast<int>(problemas.size()) - erros(); }

std::string ContagemDosProblemas(const ResultadoDaVerificacao& r) {
    const int erros = r.erros();
    return ContagemDosProblemas(erros, static_cast<long>(r.problemas.size()) - erros);
}

std::string ContagemDosProblemas(long erros, long avisos) {
    return std::to_string(erros) + (erros == 1 ? " erro, " : " erros, ") + std::to_string(avisos) +
           (avisos == 1 ? " aviso" : " avisos");
}

const char* NomeDaGravidade(Gravidade g) { return g == Gravidade::Erro ? "Erro" : "Aviso"; }

std::array<std::string_view, 5> ColunasDoProblema(const Problema& p) {
    return {NomeDaGravidade(p.gravidade), p.documento, RotuloDoCampo(p.campo), p.valor, p.problema};
}

}  // namespace zorla
