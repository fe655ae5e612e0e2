#include "base/ArquivoParaLer.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "base/Caminho.h"
#include "base/TextoVisivel.h"

namespace zorla {

namespace {

using Motivo = ArquivoRecusado::Motivo;

std::string tamanhoLegivel(std::uint64_t bytes) {
    if (bytes >= (1ULL << 30) && bytes % (1ULL << 30) == 0) return std::to_string(bytes >> 30) + " GiB";
    if (bytes >= (1ULL << 20) && bytes % (1ULL << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
    return std::to_string(bytes) + " bytes";
}

#ifdef _WIN32
std::string tipoDoModo(unsigned short modo) {
    if ((modo & _S_IFMT) == _S_IFDIR) return "uma pasta";
    if ((modo & _S_IFMT) == _S_IFCHR) return "um dispositivo";
    return (modo & _S_IFMT) == _S_IFREG ? "" : "algo que não é um arquivo";
}

int abre(const std::string& caminho) {
    return ::_wopen(CaminhoDoSistema(caminho).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

bool estado(int fd, std::uint64_t& tamanho, std::string& tipo) {
    struct _stat64 s {};
    if (::_fstat64(fd, &s) != 0) return false;
    tamanho = static_cast<std::uint64_t>(s.st_size);
    tipo = tipoDoModo(s.st_mode);
    return true;
}

void fecha(int fd) { ::_close(fd); }

long long leNaPosicao(int fd, char* destino, std::size_t n, std::uint64_t desde) {
    OVERLAPPED onde{};
    onde.Offset = static_cast<DWORD>(desde & 0xFFFFFFFFu);
    onde.OffsetHigh = static_cast<DWORD>(desde >> 32);
    DWORD lidos = 0;
    const DWORD pedido = static_cast<DWORD>(n > 0x40000000u ? 0x40000000u : n);
    if (ReadFile(reinterpret_cast<HANDLE>(::_get_osfhandle(fd)), destino, pedido, &lidos, &onde)) return lidos;
    return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
}
#else
std::string tipoDoModo(mode_t modo) {
    if (S_ISREG(modo)) return "";
    if (S_ISDIR(modo)) return "uma pasta";
    if (S_ISCHR(modo) || S_ISBLK(modo)) return "um dispositivo";
    if (S_ISFIFO(modo)) return "uma fila (FIFO)";
    if (S_ISSOCK(modo)) return "um soquete";
    return "algo que não é um arquivo";
}

// Without waiting for a writer (a FIFO), and without taking a terminal as this process's own.
int abre(const std::string& caminho) { return ::open(caminho.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY); }

bool estado(int fd, std::uint64_t& tamanho, std::string& tipo) {
    struct stat s {};
    if (::fstat(fd, &s) != 0) return false;
    tamanho = static_cast<std::uint64_t>(s.st_size);
    tipo = tipoDoModo(s.st_mode);
    return true;
}

void fecha(int fd) { ::close(fd); }

long long leNaPosicao(int fd, char* destino, std::size_t n, std::uint64_t desde) {
    for (;;) {
        const ssize_t lidos = ::pread(fd, destino, n, static_cast<off_t>(desde));
        if (lidos >= 0 || errno != EINTR) return lidos;
    }
}
#endif

// Why the open failed, as a person reads it.
ArquivoRecusado recusaDaAbertura(int erro, const std::string& caminho, const std::string& nome) {
    const std::string oQueE = OQueOCaminhoE(caminho);
    if (erro == ENOENT && oQueE == "nada") return {nome + " não existe.", Motivo::NaoExiste};
    if (erro == ENOENT || erro == ELOOP || erro == ENXIO || erro == EISDIR)
        return {nome + " é " + (oQueE.empty() || oQueE == "nada" ? "algo que não é um arquivo" : oQueE) +
                    ": não é um arquivo de texto comum.",
                erro == ENOENT ? Motivo::NaoExiste : Motivo::NaoEComum};
    if (erro == EACCES || erro == EPERM)
        return {nome + " não pode ser lido por este usuário (" + std::strerror(erro) + ").", Motivo::SemPermissao};
    return {nome + " não pôde ser aberto (" + std::strerror(erro) + ").", Motivo::Falha};
}

}  // namespace

ArquivoParaLer::ArquivoParaLer(const std::string& caminho, std::uint64_t limite, std::string_view oQue)
    : m_caminho(caminho) {
    const std::string nome = std::string(oQue) + " \"" + Visivel(caminho) + "\"";
    m_fd = abre(caminho);
    if (m_fd < 0) throw recusaDaAbertura(errno, caminho, nome);
    std::string tipo;
    if (!estado(m_fd, m_tamanho, tipo)) {
        const int erro = errno;
        fecha(std::exchange(m_fd, -1));
        throw ArquivoRecusado(nome + " não pôde ser examinado (" + std::strerror(erro) + ").", Motivo::Falha);
    }
    if (!tipo.empty()) {
        fecha(std::exchange(m_fd, -1));
        throw ArquivoRecusado(nome + " é " + tipo + ": não é um arquivo de texto comum.", Motivo::NaoEComum);
    }
    if (m_tamanho > limite) {
        fecha(std::exchange(m_fd, -1));
        throw ArquivoRecusado(nome + " passa de " + tamanhoLegivel(limite) + ": não é o arquivo que o programa espera.",
                              Motivo::Grande);
    }
}

ArquivoParaLer::~ArquivoParaLer() {
    if (m_fd >= 0) fecha(m_fd);
}

ArquivoParaLer::ArquivoParaLer(ArquivoParaLer&& outro) noexcept
    : m_fd(std::exchange(outro.m_fd, -1)), m_tamanho(outro.m_tamanho), m_caminho(std::move(outro.m_caminho)) {}

ArquivoParaLer& ArquivoParaLer::operator=(ArquivoParaLer&& outro) noexcept {
    if (this != &outro) {
        if (m_fd >= 0) fecha(m_fd);
        m_fd = std::exchange(outro.m_fd, -1);
        m_tamanho = outro.m_tamanho;
        m_caminho = std::move(outro.m_caminho);
    }
    return *this;
}

std::size_t ArquivoParaLer::le(char* destino, std::size_t n, std::uint64_t desde) const {
    std::size_t total = 0;
    while (total < n) {
        const long long lidos = leNaPosicao(m_fd, destino + total, n - total, desde + total);
        if (lidos < 0)
            throw std::runtime_error("Falha ao ler \"" + Visivel(m_caminho) + "\" (" + std::strerror(errno) + ").");
        if (lidos == 0) break;
        total += static_cast<std::size_t>(lidos);
    }
    return total;
}

std::string ArquivoParaLer::tudo() const {
    std::string bytes(static_cast<std::size_t>(m_tamanho), '\0');
    bytes.resize(le(bytes.data(), bytes.size(), 0));
    return bytes;
}

std::string OQueOCaminhoE(const std::string& caminho) {
    std::error_code ec;
    const std::filesystem::path p = CaminhoDoSistema(caminho);
    const auto link = std::filesystem::symlink_status(p, ec);
    if (!std::filesystem::exists(link) &&
        (!ec || ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory))
        return "nada";
    if (ec) return {};  // not to be seen by this user: opening it will say so
    const auto alvo = std::filesystem::status(p, ec);
    if (std::filesystem::is_symlink(link) && (ec || !std::filesystem::exists(alvo)))
        return ec == std::errc::too_many_symbolic_link_levels ? "um link em círculo" : "um link que não leva a nada";
    if (ec || std::filesystem::is_regular_file(alvo)) return "";
    if (std::filesystem::is_directory(alvo)) return "uma pasta";
    if (std::filesystem::is_character_file(alvo) || std::filesystem::is_block_file(alvo)) return "um dispositivo";
    if (std::filesystem::is_fifo(alvo)) return "uma fila (FIFO)";
    if (std::filesystem::is_socket(alvo)) return "um soquete";
    return "algo que não é um arquivo";
}

}  // namespace zorla
