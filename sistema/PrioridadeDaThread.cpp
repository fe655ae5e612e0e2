#include "sistema/PrioridadeDaThread.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#endif

namespace zorla {

#ifdef _WIN32
void BaixaPrioridadeDaThread() { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL); }
#else
// On Linux a thread's nice value is its own; Qt's thread priorities do nothing there.
void BaixaPrioridadeDaThread() {
#ifdef __linux__
    errno = 0;
    const int atual = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
    if (errno == 0) setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), std::min(atual + 2, 19));
#endif
}
#endif

}  // namespace zorla
