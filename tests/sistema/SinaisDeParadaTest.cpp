#include <gtest/gtest.h>
#include <signal.h>

#include "sistema/SinaisDeParada.h"

namespace zorla {

// A signal that comes while the program starts, before there is anything to stop, must still stop it; the first
// reason is the one told.
TEST(SinaisDeParada, ASignalBeforeTheWorkStillStopsIt) {
    SinaisDeParada sinais;
    sinais.cancela(SIGTERM);
    int vezes = 0;
    const std::stop_callback aoParar(sinais.parada(), [&vezes] { ++vezes; });
    EXPECT_EQ(vezes, 1);
    EXPECT_TRUE(sinais.parada().stop_requested());
    sinais.cancela(SIGINT);
    EXPECT_EQ(vezes, 1);
    EXPECT_EQ(sinais.motivo(), SIGTERM);
}

}  // namespace zorla
