#include <gtest/gtest.h>
#include <signal.h>

#include "app/SinaisDeParada.h"

namespace zorla {

// A signal that comes while the program starts, before there is anything to stop, must still stop it.
TEST(SinaisDeParada, ACancelBeforeTheActionStillRunsIt) {
    SinaisDeParada sinais;
    sinais.cancela(SIGTERM);
    int vezes = 0;
    sinais.aoCancelar([&vezes] { ++vezes; });
    EXPECT_EQ(vezes, 1);
    sinais.cancela(SIGINT);
    EXPECT_EQ(vezes, 2);
    EXPECT_EQ(sinais.motivo(), SIGTERM);
    sinais.aoCancelar(nullptr);
}

}  // namespace zorla
