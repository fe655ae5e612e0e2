// Holds a run's lock on a folder, as a run of another process would, for the given seconds.
//   trava_pasta PASTA SEGUNDOS
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "sistema/TravaPasta.h"

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    auto trava = zorla::TravaPasta::tenta(argv[1]);
    if (!trava) return 1;
    std::puts("travada");
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::seconds(std::stoi(argv[2])));
    return 0;
}
