#include "sistema/ChamadasDeArquivo.h"

#include <fcntl.h>

#include <cerrno>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
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
#else
int criaNovo(const char* caminho, int modo) {
    return ::open(caminho, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, static_cast<mode_t>(modo));
}
long escreve(int fd, const char* dados, std::size_t n) { return ::write(fd, dados, n); }
int corta(int fd, long long tamanho) { return ::ftruncate(fd, static_cast<off_t>(tamanho)); }
int sincroniza(int fd) { return ::fsync(fd); }
int fecha(int fd) { return ::close(fd); }
int processo() { return static_cast<int>(::getpid()); }
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
