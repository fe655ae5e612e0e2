#include "support/TestDatabase.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

#ifndef ZORLA_SOURCE_DIR
#error "ZORLA_SOURCE_DIR must name the source tree (string literal)"
#endif
#ifndef ZORLA_GERA_DADOS
#error "ZORLA_GERA_DADOS must name the zorla-gera-dados executable (string literal)"
#endif

namespace zorla::test {

namespace {

std::string shellQuoted(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

std::string isqlProgram() {
    const char* env = std::getenv("ZORLA_ISQL");
    return env && *env ? env : "isql-fb";
}

struct CommandResult {
    bool ok;
    std::string output;  // stdout and stderr together
};

CommandResult runCommand(const std::string& command) {
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot start: " + command);
    std::string output;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    int status = pclose(pipe);
    bool exitedClean = status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return {exitedClean, output};
}

// isql does not always turn a failed statement into an exit status, so its
// error banner counts as well.
bool reportsError(const std::string& isqlOutput) {
    return isqlOutput.find("Statement failed") != std::string::npos || isqlOutput.find("SQLSTATE") != std::string::npos;
}

class TempScript {
public:
    explicit TempScript(const std::string& contents) {
        std::string tmpl = (std::filesystem::temp_directory_path() / "zorla-sql-XXXXXX").string();
        int fd = mkstemp(tmpl.data());
        if (fd < 0) throw std::runtime_error("cannot create a temporary SQL script in " + tmpl);
        close(fd);
        m_path = tmpl;
        std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
        out << contents;
        out.close();
        if (!out) throw std::runtime_error("cannot write the temporary SQL script " + m_path);
    }
    ~TempScript() {
        std::error_code ec;
        std::filesystem::remove(m_path, ec);
    }
    TempScript(const TempScript&) = delete;
    TempScript& operator=(const TempScript&) = delete;

    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

}  // namespace

std::string createTestDatabase(const std::string& path, bool withDemoData) {
    std::error_code ec;
    std::filesystem::remove(path, ec);

    std::string command = "ZORLA_GERA_DADOS=" + shellQuoted(ZORLA_GERA_DADOS) + " bash " +
                          shellQuoted(std::string(ZORLA_SOURCE_DIR) + "/db/cria-banco-demo.sh") + " " +
                          shellQuoted(path);
    if (!withDemoData) command += " --somente-esquema";

    CommandResult result = runCommand(command);
    if (!result.ok) throw std::runtime_error("creating the test database " + path + " failed:\n" + result.output);
    return path;
}

void runSql(const std::string& dbPath, const std::string& cp1252Script) {
    // Fed with -i: isql drops every byte above 127 that it reads from stdin.
    // The connection character set has to be given on the command line; the
    // SET NAMES line only documents the file's encoding.
    TempScript script("SET NAMES WIN1252;\n" + cp1252Script + "\nCOMMIT;\n");
    std::string command = shellQuoted(isqlProgram()) + " -q -bail -user SYSDBA -ch WIN1252 -i " +
                          shellQuoted(script.path()) + " " + shellQuoted(dbPath);

    CommandResult result = runCommand(command);
    if (!result.ok || reportsError(result.output))
        throw std::runtime_error("isql failed on " + dbPath + ":\n" + result.output);
}

}  // namespace zorla::test
