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

    TravaPasta(TravaPasta&& other) noexcept;
    TravaPasta& operator=(TravaPasta&& other) noexcept;
    TravaPasta(const TravaPasta&) = delete;
    TravaPasta& operator=(const TravaPasta&) = delete;
    ~TravaPasta();

private:
    explicit TravaPasta(std::intptr_t handle) : m_handle(handle) {}
    static constexpr std::intptr_t kSemTrava = -1;
    void solta();
    std::intptr_t m_handle;
};

// "A pasta <pasta> está sendo usada por outra exportação. Aguarde o fim dela ou escolha outra pasta."
std::string MensagemPastaOcupada(const std::string& pasta);

}  // namespace zorla
