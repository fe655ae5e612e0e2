#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zorla {

// Why a file a person named could not be taken to read.
class ArquivoRecusado : public std::runtime_error {
public:
    enum class Motivo {
        NaoExiste,     // nothing by that name (or a link to nothing)
        SemPermissao,  // there, but this user may not read it or enter its folder
        NaoEComum,     // a folder, a device, a FIFO, a socket: not a file of text
        Grande,        // larger than what such a file ever is
        Falha,         // any other failure of the system
    };
    ArquivoRecusado(const std::string& mensagem, Motivo motivo) : std::runtime_error(mensagem), m_motivo(motivo) {}
    Motivo motivo() const { return m_motivo; }

private:
    Motivo m_motivo;
};

// A file a person names for the program to read (a connection file, a batch, an exported file): opened without
// waiting, since a FIFO with no writer would hold the open, then taken only when what was opened is a regular file
// of at most `limite` bytes, so what is read is what was checked. Reads at any offset, from any thread at once.
class ArquivoParaLer {
public:
    // `oQue` names the file in messages, capitalised: "O arquivo de conexão". Throws ArquivoRecusado, in Portuguese.
    ArquivoParaLer(const std::string& caminho, std::uint64_t limite, std::string_view oQue);
    ~ArquivoParaLer();
    ArquivoParaLer(ArquivoParaLer&& outro) noexcept;
    ArquivoParaLer& operator=(ArquivoParaLer&& outro) noexcept;
    ArquivoParaLer(const ArquivoParaLer&) = delete;
    ArquivoParaLer& operator=(const ArquivoParaLer&) = delete;

    const std::string& caminho() const { return m_caminho; }
    std::uint64_t tamanho() const { return m_tamanho; }
    // Up to n bytes from `desde`; fewer only at the end. Throws std::runtime_error when the system fails.
    std::size_t le(char* destino, std::size_t n, std::uint64_t desde) const;
    // All of it (it is at most `limite`).
    std::string tudo() const;

private:
    int m_fd = -1;
    std::uint64_t m_tamanho = 0;
    std::string m_caminho;
};

// What a path names, as a person reads it, when it is not a regular file: "uma pasta", "um dispositivo", "uma fila
// (FIFO)", "um soquete", "um link que não leva a nada", "um link em círculo"; "nada" when nothing is there; empty for
// a regular file (or one a link leads to).
std::string OQueOCaminhoE(const std::string& caminho);

}  // namespace zorla
