#include "sistema/ArquivosNoDisco.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <utility>
#include <vector>

#include "base/Caminho.h"
#include "base/TextoVisivel.h"
#include "sistema/ChamadasDeArquivo.h"

namespace zorla {

namespace {

using arquivo::corta;

std::runtime_error ioError(const char* what, const std::string& path, int err) {
    return std::runtime_error(std::string(what) + " \"" + Visivel(path) + "\": " + std::strerror(err));
}

class DiskTextFile;

// The files open for writing in this process, for a program that must end at once to leave whole lines only.
std::mutex g_abertosMutex;
std::vector<DiskTextFile*> g_abertos;

class DiskTextFile : public ArquivoEmGravacao {
public:
    DiskTextFile(int fd, std::string path) : m_fd(fd), m_path(std::move(path)), m_identidade(arquivo::identidade(fd)) {
        m_buffer.reserve(ArquivosNoDisco::kTamanhoDoBuffer);
        std::lock_guard lock(g_abertosMutex);
        g_abertos.push_back(this);
    }
    ~DiskTextFile() override {
        {
            std::lock_guard lock(g_abertosMutex);
            std::erase(g_abertos, this);
        }
        if (m_fd >= 0) arquivo::fecha(m_fd);
    }

    void gravaLinha(std::string_view bytes) override {
        if (m_fd < 0) throw std::runtime_error("Arquivo fechado: \"" + Visivel(m_path) + "\"");
        if (m_buffer.size() + bytes.size() + 2 > ArquivosNoDisco::kTamanhoDoBuffer) flush();
        m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
        m_buffer.push_back('\r');
        m_buffer.push_back('\n');
        m_lineEnds.push_back(m_buffer.size());
        // A line longer than the buffer goes out at once.
        if (m_buffer.size() >= ArquivosNoDisco::kTamanhoDoBuffer) flush();
    }

    void fecha() override {
        const std::lock_guard lock(m_diskMutex);
        if (m_fd < 0) return;
        try {
            flushLocked();
        } catch (...) {
            arquivo::fecha(std::exchange(m_fd, -1));
            throw;
        }
        if (arquivo::fecha(std::exchange(m_fd, -1)) != 0) throw ioError("Falha ao fechar o arquivo", m_path, errno);
    }

    long linhasNoDisco() const override { return m_linesOnDisk; }
    std::string identidade() const override { return m_identidade; }

    // For a process about to end: the file cut after its last whole line, and left so.
    void cutForExit() {
        if (!m_diskMutex.try_lock_for(std::chrono::seconds(1))) return;  // a write stuck in the system
        if (m_fd >= 0) corta(m_fd, m_bytesOnDisk);
    }

private:
    void flush() {
        const std::lock_guard lock(m_diskMutex);
        flushLocked();
    }

    // One system call per buffer as a rule; only a short write needs another.
    void flushLocked() {
        std::size_t written = 0;
        if (const int err = arquivo::escreveTudo(m_fd, m_buffer.data(), m_buffer.size(), written)) {
            const std::string corte = keepWholeLines(written);
            throw std::runtime_error(ioError("Falha ao gravar o arquivo", m_path, err).what() + corte);
        }
        m_bytesOnDisk += static_cast<long long>(m_buffer.size());
        m_linesOnDisk += static_cast<long>(m_lineEnds.size());
        m_buffer.clear();
        m_lineEnds.clear();
    }

    // After a failed write the file is cut after the last line that reached the disk whole; when even that fails,
    // what to add to the error, as the file then ends in a piece of a line.
    std::string keepWholeLines(std::size_t written) {
        std::size_t whole = 0, lines = 0;
        while (lines < m_lineEnds.size() && m_lineEnds[lines] <= written) whole = m_lineEnds[lines++];
        m_bytesOnDisk += static_cast<long long>(whole);
        m_linesOnDisk += static_cast<long>(lines);
        const bool cortado = whole == written || corta(m_fd, m_bytesOnDisk) == 0;
        const int err = errno;
        m_buffer.clear();
        m_lineEnds.clear();
        arquivo::fecha(std::exchange(m_fd, -1));
        return cortado ? std::string()
                       : std::string("; a linha incompleta no fim não pôde ser cortada: ") + std::strerror(err);
    }

    std::timed_mutex m_diskMutex;  // what is on the disk, and the descriptor
    int m_fd;
    std::string m_path;
    std::string m_identidade;
    std::vector<char> m_buffer;
    std::vector<std::size_t> m_lineEnds;  // end of each line held in the buffer
    long long m_bytesOnDisk = 0;
    long m_linesOnDisk = 0;
};

}  // namespace

std::optional<std::string> ArquivosNoDisco::naPasta(const std::string& path) const {
    if (m_pasta < 0 || !path.starts_with(m_diretorio)) return std::nullopt;
    std::string nome = path.substr(m_diretorio.size());
    if (nome.empty() || nome.find_first_of("/\\") != std::string::npos) return std::nullopt;
    return nome;
}

bool ArquivosNoDisco::existe(const std::string& path) {
    if (const auto nome = naPasta(path)) return arquivo::existeNaPasta(m_pasta, nome->c_str());
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(CaminhoDoSistema(path), ec));  // a dangling link too
}

void CortaArquivosAbertos() {
    std::lock_guard lock(g_abertosMutex);
    for (DiskTextFile* f : g_abertos) f->cutForExit();
}

void ArquivosNoDisco::apaga(const std::string& path) {
    const auto nome = naPasta(path);
    if ((nome ? arquivo::apagaNaPasta(m_pasta, nome->c_str()) : std::remove(path.c_str())) != 0)
        throw ioError("Falha ao apagar o arquivo", path, errno);
}

// Never through a link, never over a file left there: the caller removed what was there.
std::unique_ptr<ArquivoEmGravacao> ArquivosNoDisco::cria(const std::string& path) {
    const auto nome = naPasta(path);
    const int fd =
        nome ? arquivo::criaNovoNaPasta(m_pasta, nome->c_str(), 0666) : arquivo::criaNovo(path.c_str(), 0666);
    if (fd < 0) throw ioError("Falha ao criar o arquivo", path, errno);
    return std::make_unique<DiskTextFile>(fd, path);
}

std::string ArquivosNoDisco::identidadeAtual(const std::string& path) {
    return arquivo::identidadeDoCaminho(path.c_str());
}

}  // namespace zorla
