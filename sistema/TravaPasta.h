#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zorla {

// An exclusive advisory lock on an output folder, held for the whole of a run, so that two runs never write
// into one folder at once. No file is added to the folder.
class TravaPasta {
public:
    // Nothing when another run holds the folder. A folder that cannot be opened gives a lock that holds nothing:
    // the run then fails on its first file with the system's own words.
    static std::optional<TravaPasta> tenta(const std::string& pasta);
    // For a side file (CSV) written into a folder: nothing when another run holds the folder; a lock that holds
    // nothing more when a run of this program holds it already (its own output folder).
    static std::optional<TravaPasta> paraArquivoLateral(const std::string& pasta);

    // The folder as it was opened and locked, to create the run's files in whatever its name comes to name; -1 where
    // there is none (the lock holds nothing, or the system locks no folder).
    int descritor() const;

    TravaPasta(TravaPasta&& other) noexcept;
    TravaPasta& operator=(TravaPasta&& other) noexcept;
    TravaPasta(const TravaPasta&) = delete;
    TravaPasta& operator=(const TravaPasta&) = delete;
    ~TravaPasta();

private:
    TravaPasta(std::intptr_t handle, std::string identidade);
    static constexpr std::intptr_t kSemTrava = -1;
    void solta();
    void esquece();
    std::intptr_t m_handle;
    std::string m_identidade;  // of the folder held, for this program's own side files
};

// "A pasta <pasta> está sendo usada por outra exportação. Aguarde o fim dela ou escolha outra pasta."
std::string MensagemPastaOcupada(const std::string& pasta);

}  // namespace zorla
