#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace zorla {

// One output file, written a line at a time; every line ends with CR LF.
class ArquivoEmGravacao {
public:
    virtual ~ArquivoEmGravacao() = default;
    // Throws when the line, or an earlier one still held in a buffer, could not be written.
    virtual void gravaLinha(std::string_view bytes) = 0;
    // Flushes and closes; throws when the data could not be written.
    virtual void fecha() = 0;
    // Lines known to be whole on the disk; after a failure the file holds exactly these.
    virtual long linhasNoDisco() const = 0;
};

// Where the run's files go; tests put a failing device here.
class DestinoDosArquivos {
public:
    virtual ~DestinoDosArquivos() = default;
    virtual bool existe(const std::string& path) = 0;
    virtual void apaga(const std::string& path) = 0;
    // A new empty file; an existing one must have been removed first.
    virtual std::unique_ptr<ArquivoEmGravacao> cria(const std::string& path) = 0;

    // Removes the file when it exists, then creates it empty: files are never appended to.
    std::unique_ptr<ArquivoEmGravacao> recria(const std::string& path) {
        if (existe(path)) apaga(path);
        return cria(path);
    }
};

// The real disk. Lines gather in a buffer of 64 KiB written with one system call; a write that fails leaves the
// file cut after its last whole line, never in the middle of one.
class ArquivosNoDisco : public DestinoDosArquivos {
public:
    static constexpr std::size_t kTamanhoDoBuffer = std::size_t{1} << 16;

    bool existe(const std::string& path) override;
    void apaga(const std::string& path) override;
    std::unique_ptr<ArquivoEmGravacao> cria(const std::string& path) override;
};

// For a process that must end now (its work blocked past a cancel): every file open for writing is cut after its
// last whole line, and stays so until the process ends.
void CortaArquivosAbertos();

}  // namespace zorla
