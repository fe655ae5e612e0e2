#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <utility>
#include <vector>

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

// What the window program answers before any window: an option it does not know refuses the rest; a session whose
// display is not there, however it is named, is told to use the command line.
TEST(ProgramaDaJanela, AnswersBeforeTheWindow) {
    struct Caso {
        std::vector<std::string> argumentos;
        std::vector<std::string> ambiente;  // the display variables set; "tela" keeps the test's own
        int status;
        std::string saida, erro;
    };
    const std::string semTela = "zorla-exporta: esta sessão não tem tela gráfica para a janela; sem ela, use ";
    const std::string naoAbriu = "zorla-exporta: a tela gráfica desta sessão não pôde ser aberta; sem ela, use ";
    const Caso casos[] = {
        {{"--opção-que-não-existe"},
         {"tela"},
         2,
         "",
         "zorla-exporta: opção desconhecida: --opção-que-não-existe\nUso: "},
        {{"--help", "--x\x1b"}, {"tela"}, 2, "", "zorla-exporta: opção desconhecida: --x<ESC>\nUso: "},
        {{"--help"}, {}, 0, "Uso: zorla-exporta [--help | --version]\n", ""},
        {{"--version"}, {}, 0, "zorla-exporta ", ""},
        {{}, {}, 1, "", semTela},
        {{}, {"DISPLAY=:97"}, 1, "", naoAbriu},
        {{}, {"WAYLAND_DISPLAY=nada"}, 1, "", naoAbriu},
        {{}, {"QT_QPA_PLATFORM=bogus"}, 1, "", naoAbriu},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE((c.argumentos.empty() ? "(nada)" : c.argumentos.front()) +
                     (c.ambiente.empty() ? "" : " " + c.ambiente.front()));
        std::vector<std::string> comando;
        if (c.ambiente != std::vector<std::string>{"tela"}) {
            comando = {"/usr/bin/env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM"};
            comando.insert(comando.end(), c.ambiente.begin(), c.ambiente.end());
        }
        comando.push_back(ZORLA_JANELA);
        comando.insert(comando.end(), c.argumentos.begin(), c.argumentos.end());
        const auto r = test::runProcess(comando, nullptr, std::chrono::seconds(30));
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_EQ(r.out.rfind(c.saida, 0), 0u) << r.out;
        EXPECT_EQ(r.err.rfind(c.erro, 0), 0u) << r.err;
        if (c.saida.empty()) {
            EXPECT_EQ(r.out, "");
        }
    }
}

}  // namespace
}  // namespace zorla
