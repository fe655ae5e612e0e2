#pragma once

#include <memory>
#include <optional>
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
    // The file as the system knows it (device and inode), taken when it was created; empty when it cannot tell.
    virtual std::string identidade() const { return {}; }
};

// Where the run's files go; tests put a failing device here.
class DestinoDosArquivos {
public:
    virtual ~DestinoDosArquivos() = default;
    virtual bool existe(const std::string& path) = 0;
    virtual void apaga(const std::string& path) = 0;
    // A new empty file; an existing one must have been removed first.
    virtual std::unique_ptr<ArquivoEmGravacao> cria(const std::string& path) = 0;
    // What the system knows the path as now, followed as anyone opening it would; empty when it cannot tell. A
    // file whose path names another once the run ends was replaced behind the run's back.
    virtual std::string identidadeAtual(const std::string& path) {
        (void)path;
        return {};
    }

    // Removes the file when it exists, then creates it empty: files are never appended to.
    std::unique_ptr<ArquivoEmGravacao> recria(const std::string& path) {
        if (existe(path)) apaga(path);
        return cria(path);
    }
};

// The real disk. Lines gather in a buffer of 64 KiB written with one system call; a write that fails leaves the
// file cut after its last whole line, never in the middle of one. Given the run's folder as it was opened, its
// files are made, looked for and removed in that folder, whatever its name comes to name during the run.
class ArquivosNoDisco : public DestinoDosArquivos {
public:
    static constexpr std::size_t kTamanhoDoBuffer = std::size_t{1} << 16;

    ArquivosNoDisco() = default;
    // `diretorio` as the run spells it (ending with its separator); `pasta` a descriptor of it, -1 for none. The
    // descriptor stays the caller's.
    ArquivosNoDisco(int pasta, std::string diretorio) : m_pasta(pasta), m_diretorio(std::move(diretorio)) {}

    bool existe(const std::string& path) override;
    void apaga(const std::string& path) override;
    std::unique_ptr<ArquivoEmGravacao> cria(const std::string& path) override;
    std::string identidadeAtual(const std::string& path) override;

private:
    // The name within the run's folder, when the path is one of its files and the folder was given.
    std::optional<std::string> naPasta(const std::string& path) const;
    int m_pasta = -1;
    std::string m_diretorio;
};

// For a process that must end now (its work blocked past a cancel): every file open for writing is cut after its
// last whole line, and stays so until the process ends.
void CortaArquivosAbertos();

}  // namespace zorla
