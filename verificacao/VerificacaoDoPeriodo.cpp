#include "verificacao/VerificacaoDoPeriodo.h"

#include <iterator>
#include <utility>

#include "data/DMVantero.h"
#include "data/DbError.h"
#include "sistema/RepasseParaOutraThread.h"
#include "verificacao/VerificacaoDaConsulta.h"

namespace zorla {

void VerificaNosDestinos(TFDMExporta& dm, const Periodo& periodo, std::int64_t empresa,
                         const ConsultaParalela::NovoModulo& novoModulo,
                         const std::array<DestinoDosProblemas*, 3>& destinos, std::stop_token parada) {
    using Consulta = VerificacaoDaConsulta::Consulta;
    // The rules and the problems' texts on a thread of their own: the fetch goes on meanwhile.
    const auto le = [&](TFDMExporta& m, int k, std::stop_token paraEsta) {
        const auto verificacao = k == 2 ? VerificacaoDaConsulta::para(Consulta::Movimento, m.Movimento(), *destinos[2])
                                        : VerificacaoDaConsulta::para(k == 0 ? Consulta::Vendas : Consulta::Compras,
                                                                      m.Saidas(), *destinos[k]);
        RepasseParaOutraThread repasse(*verificacao);
        const bool lido =
            k == 2 ? m.LeMovimento(periodo.DataInicial, periodo.DataFinal, repasse, paraEsta)
                   : m.LeSaidas(k == 0 ? "S" : "E", periodo.DataInicial, periodo.DataFinal, empresa, repasse, paraEsta);
        if (!lido) return;
        repasse.termina();
        verificacao->termina();
    };
    std::unique_ptr<ConsultaParalela> outras[2];
    try {
        // Attached before any reads; the check's stop stops all three.
        for (auto& o : outras)
            if (novoModulo) {
                o = std::make_unique<ConsultaParalela>(novoModulo);
                o->acompanha(parada);
            }
    } catch (const DbError&) {
        // A server that takes no more attachments: one query after the other on this one.
    }
    if (!outras[0] || !outras[1]) {
        outras[0].reset();
        for (int k = 0; k < 3; ++k) le(dm, k, parada);
        return;
    }
    for (int k = 1; k <= 2; ++k)
        outras[k - 1]->inicia([&le, k](TFDMExporta& m, std::stop_token paraEsta) { le(m, k, std::move(paraEsta)); });
    le(dm, 0, parada);
    for (auto& o : outras) o->espera(parada);
}

namespace {
// A query's problems as they are found, its errors apart: what stops the export goes first, and the millions of
// warnings are then moved once, not gone through again to find the errors among them.
struct ErrosEAvisos : DestinoDosProblemas {
    void achou(Problema p) override { (p.gravidade == Gravidade::Erro ? erros : avisos).push_back(std::move(p)); }
    std::deque<Problema> erros, avisos;
};
}  // namespace

ResultadoDaVerificacao Verifica(TFDMExporta& dm, const Periodo& periodo, std::int64_t empresa,
                                const ConsultaParalela::NovoModulo& novoModulo, std::stop_token parada) {
    // Sales, purchases, movements: the errors of each in that order, then the warnings of each.
    ErrosEAvisos achados[3];
    VerificaNosDestinos(dm, periodo, empresa, novoModulo, {&achados[0], &achados[1], &achados[2]}, parada);
    ResultadoDaVerificacao r;
    const auto junta = [&r](std::deque<Problema>& parte) {
        r.problemas.insert(r.problemas.end(), std::make_move_iterator(parte.begin()),
                           std::make_move_iterator(parte.end()));
        parte = {};
    };
    for (ErrosEAvisos& a : achados) junta(a.erros);
    r.errosContados = static_cast<int>(r.problemas.size());
    for (ErrosEAvisos& a : achados) junta(a.avisos);
    return r;
}

}  // namespace zorla
