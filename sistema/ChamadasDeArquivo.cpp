#include "sistema/ChamadasDeArquivo.h"

#include <fcntl.h>

#include <cerrno>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>

#include "base/Caminho.h"
#else
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zorla::arquivo {

#ifdef _WIN32
int criaNovo(const char* caminho, int modo) { return _open(caminho, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, modo); }
long escreve(int fd, const char* dados, std::size_t n) { return _write(fd, dados, static_cast<unsigned>(n)); }
int corta(int fd, long long tamanho) { return _chsize_s(fd, tamanho); }
int sincroniza(int fd) { return _commit(fd); }
int fecha(int fd) { return _close(fd); }
int processo() { return _getpid(); }
bool processoVivo(int pid) {
    HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (!h) return GetLastError() == ERROR_ACCESS_DENIED;
    const bool vivo = WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
    CloseHandle(h);
    return vivo;
}
bool podeGravar(const std::string& caminho) { return _waccess(CaminhoDoSistema(caminho).c_str(), 2) == 0; }
// Windows has no folder descriptors: its files are made by their paths, and an open folder cannot be renamed.
int criaNovoNaPasta(int, const char*, int) { return -1; }
bool existeNaPasta(int, const char*) { return false; }
int apagaNaPasta(int, const char*) { return -1; }
std::string identidade(int) { return {}; }
std::string identidadeDoCaminho(const char*) { return {}; }
#else
int criaNovo(const char* caminho, int modo) {
    return ::open(caminho, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, static_cast<mode_t>(modo));
}
long escreve(int fd, const char* dados, std::size_t n) { return ::write(fd, dados, n); }
int corta(int fd, long long tamanho) { return ::ftruncate(fd, static_cast<off_t>(tamanho)); }
int sincroniza(int fd) { return ::fsync(fd); }
int fecha(int fd) { return ::close(fd); }
int processo() { return static_cast<int>(::getpid()); }
bool processoVivo(int pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM; }
bool podeGravar(const std::string& caminho) { return ::access(caminho.c_str(), W_OK) == 0; }
int criaNovoNaPasta(int pasta, const char* nome, int modo) {
    return ::openat(pasta, nome, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, static_cast<mode_t>(modo));
}
bool existeNaPasta(int pasta, const char* nome) {
    struct stat s {};
    return ::fstatat(pasta, nome, &s, AT_SYMLINK_NOFOLLOW) == 0;
}
int apagaNaPasta(int pasta, const char* nome) { return ::unlinkat(pasta, nome, 0); }
namespace {
std::string identidadeDe(const struct stat& s) {
    return std::to_string(static_cast<unsigned long long>(s.st_dev)) + ":" +
           std::to_string(static_cast<unsigned long long>(s.st_ino));
}
}  // namespace
std::string identidade(int fd) {
    struct stat s {};
    return ::fstat(fd, &s) == 0 ? identidadeDe(s) : std::string();
}
std::string identidadeDoCaminho(const char* caminho) {
    struct stat s {};
    return ::stat(caminho, &s) == 0 ? identidadeDe(s) : std::string();
}
#endif

int escreveTudo(int fd, const char* dados, std::size_t n, std::size_t& escritos) {
    escritos = 0;
    while (escritos < n) {
        const long k = escreve(fd, dados + escritos, n - escritos);
        if (k < 0 && errno == EINTR) continue;
        if (k <= 0) return k < 0 ? errno : ENOSPC;
        escritos += static_cast<std::size_t>(k);
    }
    return 0;
}

}  // namespace zorla::arquivo
