#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stop_token>
#include <thread>
#include <vector>

#include "data/PackedRows.h"
#include "sistema/FilaDeLotes.h"

namespace zorla {
namespace {

// A stop asked for from another thread while a side waits ends that wait, however the two meet: the waiting side
// stops waiting while the stop is still being told to it. Many rounds, as the meeting is a matter of timing; a lost
// wake-up leaves a round waiting for ever, and the test runner's time limit says so.
TEST(FilaDeLotes, AStopFromAnotherThreadAlwaysEndsTheWait) {
    struct Caso {
        const char* lado;
        bool cheia;
        std::function<bool(FilaDeLotes&, std::stop_token)> espera;  // true when it ended for the stop
    };
    const auto lote = std::make_shared<const PackedRows>(std::vector<FieldType>{FieldType::Integer});
    const Caso casos[] = {
        {"quem tira, da fila vazia", false, [](FilaDeLotes& f, std::stop_token p) { return f.tira(p) == nullptr; }},
        {"quem põe, na fila cheia", true, [&lote](FilaDeLotes& f, std::stop_token p) { return !f.poe(lote, p); }},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.lado);
        int paradas = 0;
        for (int rodada = 0; rodada < 2000; ++rodada) {
            FilaDeLotes fila(1);
            if (c.cheia) fila.poe(lote, {});
            std::stop_source parada;
            bool parou = false;
            std::thread lado([&] { parou = c.espera(fila, parada.get_token()); });
            parada.request_stop();
            lado.join();
            paradas += parou;
        }
        EXPECT_EQ(paradas, 2000);
    }
}

}  // namespace
}  // namespace zorla
