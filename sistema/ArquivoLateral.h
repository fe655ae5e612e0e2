#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace zorla {

class TravaPasta;

// A side file (CSV) written to a temporary name beside its target and renamed over it only when whole: a failure
// never leaves half a file, and a link at the target is replaced, never written through. Another run's output
// folder is refused while that run holds it.
class ArquivoLateral {
public:
    // Throws std::runtime_error, in Portuguese, when the temporary file cannot be created.
    explicit ArquivoLateral(std::string destino);
    ~ArquivoLateral();  // removes the temporary file unless concluded
    ArquivoLateral(const ArquivoLateral&) = delete;
    ArquivoLateral& operator=(const ArquivoLateral&) = delete;

    // Throws std::runtime_error when the bytes could not be written.
    void escreve(std::string_view bytes);
    // Puts the whole file in its place; throws std::runtime_error when it could not.
    void conclui();

private:
    void esvazia();
    [[noreturn]] void falha(const char* oque, int erro);
    std::string m_destino;
    std::string m_temporario;
    std::string m_buffer;
    std::unique_ptr<TravaPasta> m_trava;  // the folder, against another run writing there meanwhile
    int m_fd = -1;
};

// For a program that must end at once: the temporary files of side files not yet whole are removed; their
// targets are as they were.
void ApagaArquivosLateraisIncompletos();

// Why a side file may not go there, said before anything is written; empty when it may. A folder, a device, a FIFO or
// a socket by that name (the rename would put a plain file in its place); a file this user may not write (its owner
// did not let it be replaced); another run's folder while that run holds it.
std::string ImpedimentoDoArquivoLateral(const std::string& destino);

// The file whole in its place, or a std::runtime_error saying why not.
void GravaArquivoLateral(const std::string& destino, std::string_view bytes);

}  // namespace zorla
