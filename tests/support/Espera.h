#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>

namespace zorla::test {

// Polls a condition until it holds or the deadline passes; whether it held.
inline bool esperaAte(const std::function<bool()>& condicao,
                      std::chrono::milliseconds prazo = std::chrono::seconds(20)) {
    const auto fim = std::chrono::steady_clock::now() + prazo;
    while (!condicao()) {
        if (std::chrono::steady_clock::now() >= fim) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// The processor time a process has used so far (user and system); zero once it is gone.
inline std::chrono::milliseconds tempoDeProcessador(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string linha((std::istreambuf_iterator<char>(stat)), {});
    const auto fimDoNome = linha.rfind(')');
    if (fimDoNome == std::string::npos) return {};
    std::istringstream campos(linha.substr(fimDoNome + 2));
    std::string campo;
    long long ticks = 0;
    // After the name: state is field 3; utime and stime are fields 14 and 15.
    for (int n = 3; n <= 15 && campos >> campo; ++n)
        if (n >= 14) ticks += std::stoll(campo);
    return std::chrono::milliseconds(ticks * 1000 / sysconf(_SC_CLK_TCK));
}

// Waits until a process has used that much more of the processor from now: a statement looping on an embedded
// engine, say. False when the deadline passed first.
inline bool esperaTrabalhar(pid_t pid, std::chrono::milliseconds quanto,
                            std::chrono::milliseconds prazo = std::chrono::seconds(30)) {
    const auto inicio = tempoDeProcessador(pid);
    return esperaAte([&] { return tempoDeProcessador(pid) >= inicio + quanto; }, prazo);
}

// Whether the process holds that file open.
inline bool temAberto(pid_t pid, const std::string& caminho) {
    std::error_code ec;
    const auto alvo = std::filesystem::weakly_canonical(caminho, ec);
    for (const auto& fd : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec))
        if (std::filesystem::read_symlink(fd.path(), ec) == alvo) return true;
    return false;
}

// A process that works keeps using the processor; one waiting on its event loop or a box does not. A process
// that has not yet used a tick has not started its work.
inline bool esperaOcioso(pid_t pid, std::chrono::milliseconds prazo = std::chrono::seconds(20)) {
    auto antes = tempoDeProcessador(pid);
    int quietos = 0;
    return esperaAte(
        [&] {
            const auto agora = tempoDeProcessador(pid);
            quietos = agora == antes && agora.count() > 0 ? quietos + 1 : 0;
            antes = agora;
            return quietos >= 15;  // 300 ms without a tick of work
        },
        prazo);
}

}  // namespace zorla::test
