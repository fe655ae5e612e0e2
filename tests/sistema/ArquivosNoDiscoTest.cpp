#include <gtest/gtest.h>

#include "sistema/ArquivosNoDisco.h"
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace zorla {
namespace {

// Counted by the file's growth, not by system calls: sanitizers make calls of their own.
TEST(ArquivosNoDisco, WriteWholeBlocksOfTheirOwnSize) {
    test::TempDir dir;
    const std::string path = dir.file("livro.SAI");
    ArquivosNoDisco disk;
    auto file = disk.cria(path);
    const std::string line(547, 'x');
    std::vector<std::uintmax_t> tamanhos;  // each size the file grows to
    for (int i = 0; i < 1000; ++i) {
        file->gravaLinha(line);
        const std::uintmax_t t = std::filesystem::file_size(path);
        if (t != (tamanhos.empty() ? 0 : tamanhos.back())) tamanhos.push_back(t);
    }
    file->fecha();
    tamanhos.push_back(std::filesystem::file_size(path));
    // 549,000 bytes in blocks of at most 64 KiB, each ending at a whole line: nine growths.
    ASSERT_EQ(tamanhos.size(), 9u);
    for (std::size_t i = 0; i < tamanhos.size(); ++i) {
        EXPECT_EQ(tamanhos[i] % 549, 0u) << i;
        EXPECT_LE(tamanhos[i] - (i == 0 ? 0 : tamanhos[i - 1]), 65536u) << i;
    }
    EXPECT_EQ(tamanhos.back(), 549000u);
    EXPECT_EQ(file->linhasNoDisco(), 1000);
}

#ifndef _WIN32  // a file size limit in a child process: POSIX's stand-in for a full disk
TEST(ArquivosNoDisco, AFailedWriteLeavesWholeLinesOnly) {
    test::TempDir dir;
    const std::string path = dir.file("livro.ENT");
    // In a child of its own: a file size limit stands in for a full disk.
    const pid_t pid = fork();
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limite{10000, 10000};
        setrlimit(RLIMIT_FSIZE, &limite);
        ArquivosNoDisco disk;
        auto file = disk.cria(path);
        try {
            for (int i = 0; i < 100; ++i) file->gravaLinha(std::string(100, 'y'));
            file->fecha();
        } catch (const std::exception&) {
            _exit(file->linhasNoDisco() == 98 ? 3 : 4);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);  // the failure was reported, with the lines that reached the disk
    EXPECT_EQ(test::readFile(path).size(), 98u * 102);
}
#endif

}  // namespace
}  // namespace zorla
