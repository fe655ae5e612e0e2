#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <utility>

#include "support/Espera.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace zorla {
namespace {

// The window program as the operator starts it, from a folder of its own with the connection file beside it.
TEST(ProgramaDaJanela, SignalsEndItEvenWithTheErrorBoxOpen) {
    for (const auto& [sinal, status] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}}) {
        SCOPED_TRACE(sinal);
        test::TempDir dir;
        const std::string programa = dir.file("zorla-exporta");
        std::filesystem::copy_file(ZORLA_JANELA, programa);
        // Nothing listens on port 1: the company list fails at once and its error box stays open.
        std::ofstream(dir.file("dbxconnections.ini")) << "[EMPRESA]\r\nDatabase=127.0.0.1/1:/nada.fdb\r\n";
        const auto r = test::runProcess({programa}, nullptr, std::chrono::seconds(30), [s = sinal](pid_t pid) {
            // Started, failed to connect and showing its box: nothing left to do but wait for the operator.
            EXPECT_TRUE(test::esperaOcioso(pid));
            kill(pid, s);
        });
        EXPECT_EQ(r.status, status) << r.err;
    }
}

}  // namespace
}  // namespace zorla
