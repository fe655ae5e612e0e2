#include "cli/Comparar.h"

#include <cstdio>
#include <stdexcept>

#include "base/TextoVisivel.h"
#include "cli/Terminal.h"
#include "comparacao/ComparacaoDeExportacoes.h"
#include "comparacao/TextoDaComparacao.h"
#include "sistema/SinaisDeParada.h"

namespace zorla {

int Compara(const Argumentos& args, SinaisDeParada& sinais) {
    // Reading writes nothing: a signal has nothing to wait for but the grace.
    DesisteCom(sinais, 0, "Comparação cancelada!");
    try {
        OuRecusa<ResultadoDaComparacao> r =
            ComparaExportacoes(args.comparar.first, args.comparar.second, sinais.parada());
        if (!r) {
            Imprime(r.recusa().detalhe);
            return DizARecusa(r.recusa());
        }
        Imprime(args.csv ? CsvDaComparacao(*r) : TextoDaComparacao(*r));
        return r->iguais() ? 0 : kStatusAvisos;
    } catch (const std::runtime_error& e) {
        if (sinais.motivo() > 0) return 128 + sinais.motivo();
        std::fprintf(stderr, "%s\n", Visivel(e.what()).c_str());
        return 1;
    }
}

}  // namespace zorla
