#include "export/OutputFiles.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "support/TempDir.h"

namespace zorla {
namespace {

long writeCalls() {
    std::ifstream io("/proc/self/io");
    std::string key;
    long value = 0;
    while (io >> key >> value)
        if (key == "syscw:") return value;
    return -1;
}

TEST(DiskFiles, WriteWholeBlocksOfTheirOwnSize) {
    test::TempDir dir;
    DiskFiles disk;
    auto file = disk.create(dir.file("livro.SAI"));
    const std::string line(547, 'x');
    const long before = writeCalls();
    for (int i = 0; i < 1000; ++i) file->writeLine(line);
    file->close();
    const long calls = writeCalls() - before;
    // 549,000 bytes in blocks of 64 KiB: nine calls.
    EXPECT_EQ(calls, 9);
    EXPECT_EQ(file->linesOnDisk(), 1000);
    EXPECT_EQ(test::readFile(dir.file("livro.SAI")).size(), 549000u);
}

TEST(DiskFiles, AFailedWriteLeavesWholeLinesOnly) {
    test::TempDir dir;
    const std::string path = dir.file("livro.ENT");
    // In a child of its own: a file size limit stands in for a full disk.
    const pid_t pid = fork();
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limite{10000, 10000};
        setrlimit(RLIMIT_FSIZE, &limite);
        DiskFiles disk;
        auto file = disk.create(path);
        try {
            for (int i = 0; i < 100; ++i) file->writeLine(std::string(100, 'y'));
            file->close();
        } catch (const std::exception&) {
            _exit(file->linesOnDisk() == 98 ? 3 : 4);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);  // the failure was reported, with the lines that reached the disk
    EXPECT_EQ(test::readFile(path).size(), 98u * 102);
}

}  // namespace
}  // namespace zorla
