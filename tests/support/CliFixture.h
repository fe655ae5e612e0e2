#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/BancoDeTeste.h"
#include "support/Process.h"
#include "support/SampleData.h"
#include "support/TempDir.h"
#include "support/TestDatabase.h"

// The command line run as a process on databases of the test's own (ZORLA_CLI names the program).
namespace zorla::test {

// Enough sales that the loop is still running when a test acts on it.
inline std::string muitasVendas(int n) {
    return "SET TERM ^ ;\nEXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < " + std::to_string(n) +
           ") DO BEGIN INSERT INTO MOVESTOQUE (CODMOVESTOQUE, CODEMPRESA, TIPOMOVIMENTO, DATAMOVIMENTO, NUMERODOC,"
           " VALOR) VALUES ('X' || :I, 1, 'S', '2008-03-28', :I, 1); I = I + 1; END END^\nSET TERM ; ^\n";
}

// Every line of every file exactly its record's width, CR LF after it, nothing else.
inline void expectWholeRecords(const std::string& bytes, std::size_t width, const std::string& what) {
    ASSERT_EQ(bytes.size() % (width + 2), 0u) << what;
    for (std::size_t p = 0; p < bytes.size(); p += width + 2) {
        const std::string line = bytes.substr(p, width);
        for (char c : line) ASSERT_GE(static_cast<unsigned char>(c), 0x20u) << what << " at " << p;
        ASSERT_EQ(bytes.substr(p + width, 2), "\r\n") << what << " at " << p;
    }
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(saida()); }
    std::string saida() const { return dir.file("saída"); }
    // The export of March 2008, each option of extra replacing the default one or added after them.
    std::vector<std::string> args(const std::vector<std::string>& extra = {}) const {
        std::vector<std::string> args = {ZORLA_CLI, "--empresa", "1",       "--codigo", "12",       "--mes",    "3",
                                         "--ano",   "2008",      "--saida", saida(),    "--config", banco.ini()};
        for (std::size_t i = 0; i + 1 < extra.size(); i += 2) {
            auto it = std::find(args.begin(), args.end(), extra[i]);
            if (it != args.end())
                *(it + 1) = extra[i + 1];
            else
                args.insert(args.end(), {extra[i], extra[i + 1]});
        }
        return args;
    }
    test::ProcessResult exporta(const std::vector<std::string>& extra = {},
                                const std::function<void(const std::string&, pid_t)>& onErr = nullptr) {
        return runProcess(args(extra), onErr);
    }
    std::string file(const std::string& name) { return readFile(saida() + "/" + name); }
    void recreate(const std::string& extra) { banco.recria(test::kDadosExemplo + extra); }

    test::BancoDeTeste banco{test::kDadosExemplo};
    const test::TempDir& dir = banco.dir;
    std::string& db = banco.db;
};

// The demo companies in two database files, and a line whose database is not there.
class Lote : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* nome : {"a", "b"}) {
            test::createTestDatabase(dir.file(std::string(nome) + ".fdb"), true);
            test::writeFile(dir.file(std::string(nome) + ".ini"),
                            "[EMPRESA]\nDatabase=" + dir.file(std::string(nome) + ".fdb") + "\n");
        }
        test::writeFile(dir.file("quebrado.ini"), "[EMPRESA]\nDatabase=" + dir.file("nao-existe.fdb") + "\n");
    }
    std::vector<std::string> lote(const std::string& linhas, std::vector<std::string> extra = {}) {
        test::writeFile(dir.file("lote.txt"), "# fechamento de março\r\n" + linhas);
        std::vector<std::string> a = {ZORLA_CLI, "--lote", dir.file("lote.txt"), "--mes", "3", "--ano", "2008"};
        a.insert(a.end(), extra.begin(), extra.end());
        return a;
    }
    test::TempDir dir;
};

}  // namespace zorla::test
