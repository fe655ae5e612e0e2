#include "sistema/TravaPasta.h"

#include <utility>

#ifdef _WIN32
#include <windows.h>

#include <cctype>
#include <filesystem>

#include "base/Caminho.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace zorla {

#ifdef _WIN32
// Windows locks no folder: a named mutex per folder serves the same end on one machine. Named by the folder's
// full path, whatever way it was typed ("C:\dados\", "c:/DADOS", a relative one), as its names are one in any case.
std::optional<TravaPasta> TravaPasta::tenta(const std::string& pasta) {
    std::error_code ec;
    std::filesystem::path caminho =
        std::filesystem::weakly_canonical(CaminhoDoSistema(pasta.empty() ? "." : pasta), ec);
    if (ec) caminho = CaminhoDoSistema(pasta);
    std::string nome = "Local\\zorla-exporta-";
    for (char c : TextoDoCaminho(caminho.lexically_normal()))
        nome += c == '\\' || c == '/' ? '_' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    while (nome.ends_with('_')) nome.pop_back();
    HANDLE h = CreateMutexA(nullptr, TRUE, nome.c_str());
    if (!h) return TravaPasta(kSemTrava);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(h);
        return std::nullopt;
    }
    return TravaPasta(reinterpret_cast<std::intptr_t>(h));
}

void TravaPasta::solta() {
    if (m_handle == kSemTrava) return;
    HANDLE h = reinterpret_cast<HANDLE>(std::exchange(m_handle, kSemTrava));
    ReleaseMutex(h);
    CloseHandle(h);
}
#else
std::optional<TravaPasta> TravaPasta::tenta(const std::string& pasta) {
    const int fd = ::open(pasta.empty() ? "." : pasta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // A folder that cannot be opened holds no other run either; creating the first file will say what is wrong.
    if (fd < 0) return TravaPasta(kSemTrava);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        if (err == EWOULDBLOCK) return std::nullopt;
        return TravaPasta(kSemTrava);
    }
    return TravaPasta(fd);
}

void TravaPasta::solta() {
    if (m_handle == kSemTrava) return;
    ::close(static_cast<int>(std::exchange(m_handle, kSemTrava)));  // closing releases the lock
}
#endif

TravaPasta::TravaPasta(TravaPasta&& other) noexcept : m_handle(std::exchange(other.m_handle, kSemTrava)) {}

TravaPasta& TravaPasta::operator=(TravaPasta&& other) noexcept {
    if (this != &other) {
        solta();
        m_handle = std::exchange(other.m_handle, kSemTrava);
    }
    return *this;
}

TravaPasta::~TravaPasta() { solta(); }

std::string MensagemPastaOcupada(const std::string& pasta) {
    return "A pasta " + pasta + " está sendo usada por outra exportação. Aguarde o fim dela ou escolha outra pasta.";
}

}  // namespace zorla
