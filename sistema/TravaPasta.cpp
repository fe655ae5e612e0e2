#include "sistema/TravaPasta.h"

#include <mutex>
#include <set>
#include <utility>

#include "sistema/ChamadasDeArquivo.h"

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

namespace {
// The folders this process holds, by what the system knows them as: its own side files may go there.
std::mutex g_seguradasMutex;
std::multiset<std::string> g_seguradas;
}  // namespace

TravaPasta::TravaPasta(std::intptr_t handle, std::string identidade)
    : m_handle(handle), m_identidade(std::move(identidade)) {
    if (m_identidade.empty()) return;
    std::lock_guard lock(g_seguradasMutex);
    g_seguradas.insert(m_identidade);
}

void TravaPasta::esquece() {
    if (m_identidade.empty()) return;
    std::lock_guard lock(g_seguradasMutex);
    if (const auto it = g_seguradas.find(std::exchange(m_identidade, {})); it != g_seguradas.end())
        g_seguradas.erase(it);
}

#ifdef _WIN32
namespace {
// Windows locks no folder: a named mutex per folder serves the same end on one machine. Named by the folder's
// full path, whatever way it was typed ("C:\dados\", "c:/DADOS", a relative one), as its names are one in any case.
std::string identidadeDaPasta(const std::string& pasta) {
    std::error_code ec;
    std::filesystem::path caminho =
        std::filesystem::weakly_canonical(CaminhoDoSistema(pasta.empty() ? "." : pasta), ec);
    if (ec) caminho = CaminhoDoSistema(pasta);
    std::string nome = "Local\\zorla-exporta-";
    for (char c : TextoDoCaminho(caminho.lexically_normal()))
        nome += c == '\\' || c == '/' ? '_' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    while (nome.ends_with('_')) nome.pop_back();
    return nome;
}
}  // namespace

std::optional<TravaPasta> TravaPasta::tenta(const std::string& pasta) {
    const std::string nome = identidadeDaPasta(pasta);
    HANDLE h = CreateMutexA(nullptr, TRUE, nome.c_str());
    if (!h) return TravaPasta(kSemTrava, {});
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(h);
        return std::nullopt;
    }
    return TravaPasta(reinterpret_cast<std::intptr_t>(h), nome);
}

int TravaPasta::descritor() const { return -1; }

void TravaPasta::solta() {
    esquece();
    if (m_handle == kSemTrava) return;
    HANDLE h = reinterpret_cast<HANDLE>(std::exchange(m_handle, kSemTrava));
    ReleaseMutex(h);
    CloseHandle(h);
}
#else
std::optional<TravaPasta> TravaPasta::tenta(const std::string& pasta) {
    const int fd = ::open(pasta.empty() ? "." : pasta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // A folder that cannot be opened holds no other run either; creating the first file will say what is wrong.
    if (fd < 0) return TravaPasta(kSemTrava, {});
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        if (err == EWOULDBLOCK) return std::nullopt;
        return TravaPasta(kSemTrava, {});
    }
    return TravaPasta(fd, arquivo::identidade(fd));
}

namespace {
std::string identidadeDaPasta(const std::string& pasta) {
    return arquivo::identidadeDoCaminho(pasta.empty() ? "." : pasta.c_str());
}
}  // namespace

int TravaPasta::descritor() const { return static_cast<int>(m_handle); }

void TravaPasta::solta() {
    esquece();
    if (m_handle == kSemTrava) return;
    ::close(static_cast<int>(std::exchange(m_handle, kSemTrava)));  // closing releases the lock
}
#endif

std::optional<TravaPasta> TravaPasta::paraArquivoLateral(const std::string& pasta) {
    if (const std::string identidade = identidadeDaPasta(pasta); !identidade.empty()) {
        std::lock_guard lock(g_seguradasMutex);
        if (g_seguradas.contains(identidade)) return TravaPasta(kSemTrava, {});
    }
    return tenta(pasta);
}

TravaPasta::TravaPasta(TravaPasta&& other) noexcept
    : m_handle(std::exchange(other.m_handle, kSemTrava)), m_identidade(std::exchange(other.m_identidade, {})) {}

TravaPasta& TravaPasta::operator=(TravaPasta&& other) noexcept {
    if (this != &other) {
        solta();
        m_handle = std::exchange(other.m_handle, kSemTrava);
        m_identidade = std::exchange(other.m_identidade, {});
    }
    return *this;
}

TravaPasta::~TravaPasta() { solta(); }

std::string MensagemPastaOcupada(const std::string& pasta) {
    return "A pasta " + pasta + " está sendo usada por outra exportação. Aguarde o fim dela ou escolha outra pasta.";
}

}  // namespace zorla
