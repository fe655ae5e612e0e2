#include "OutputFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace zorla {

namespace {

std::runtime_error ioError(const char* what, const std::string& path, int err) {
    return std::runtime_error(std::string(what) + " \"" + path + "\": " + std::strerror(err));
}

class DiskTextFile : public TextFile {
public:
    DiskTextFile(std::FILE* file, std::string path) : m_file(file), m_path(std::move(path)) {
        std::setvbuf(m_file, nullptr, _IOFBF, 1 << 16);
    }
    ~DiskTextFile() override {
        if (m_file) std::fclose(m_file);
    }
    void writeLine(std::string_view bytes) override {
        if (!m_file) throw std::runtime_error("Arquivo fechado: \"" + m_path + "\"");
        if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size() || std::fwrite("\r\n", 1, 2, m_file) != 2)
            throw ioError("Falha ao gravar o arquivo", m_path, errno);
    }
    void close() override {
        if (!m_file) return;
        std::FILE* f = m_file;
        m_file = nullptr;
        bool flushed = std::fflush(f) == 0;
        int err = errno;
        if (std::fclose(f) != 0 && flushed) err = errno, flushed = false;
        if (!flushed) throw ioError("Falha ao fechar o arquivo", m_path, err);
    }

private:
    std::FILE* m_file;
    std::string m_path;
};

}  // namespace

bool DiskFiles::exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

void DiskFiles::remove(const std::string& path) {
    if (std::remove(path.c_str()) != 0) throw ioError("Falha ao apagar o arquivo", path, errno);
}

std::unique_ptr<TextFile> DiskFiles::create(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw ioError("Falha ao criar o arquivo", path, errno);
    return std::make_unique<DiskTextFile>(f, path);
}

}  // namespace zorla
