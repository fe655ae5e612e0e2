#include "sistema/SinaisDeParada.h"

#include <signal.h>

#include <cstdio>
#include <cstdlib>

#include "sistema/ArquivoLateral.h"
#include "sistema/ArquivosNoDisco.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#endif
#include <unistd.h>

namespace zorla {

namespace {
#ifdef _WIN32
// The console's stop requests, as the signals they stand for: Ctrl-C and Ctrl-Break as SIGINT, closing the window,
// logging off and shutting down as SIGTERM.
std::atomic<SinaisDeParada*> g_sinais{nullptr};

BOOL WINAPI pedidoDoConsole(DWORD evento) {
    SinaisDeParada* sinais = g_sinais.load();
    if (!sinais) return FALSE;
    const bool interrompe = evento == CTRL_C_EVENT || evento == CTRL_BREAK_EVENT;
    sinais->cancela(interrompe ? SIGINT : SIGTERM);
    // Windows ends the process as soon as a close returns: the run is given its grace to cut its files first.
    if (!interrompe) Sleep(INFINITE);
    return TRUE;
}
#else
sigset_t sinaisVigiados() {
    sigset_t s;
    sigemptyset(&s);
    sigaddset(&s, SIGINT);
    sigaddset(&s, SIGTERM);
    return s;
}
#endif
}  // namespace

#ifdef _WIN32
SinaisDeParada::SinaisDeParada() {
    m_inicioDaCarencia.emplace(m_parada.get_token(), [this] { iniciaCarencia(); });
    g_sinais = this;
    SetConsoleCtrlHandler(pedidoDoConsole, TRUE);
}

void SinaisDeParada::paraDeVigiar() {
    SetConsoleCtrlHandler(pedidoDoConsole, FALSE);
    g_sinais = nullptr;
}

void SinaisDeParada::vigia() {}
#else
SinaisDeParada::SinaisDeParada() {
    m_inicioDaCarencia.emplace(m_parada.get_token(), [this] { iniciaCarencia(); });
    const sigset_t s = sinaisVigiados();
    pthread_sigmask(SIG_BLOCK, &s, nullptr);
    signal(SIGXFSZ, SIG_IGN);
    // A reader that goes away (a pipe to "head") ends what it reads, not the run: the writes fail, and are let fail.
    signal(SIGPIPE, SIG_IGN);
    m_vigia = std::thread([this] { vigia(); });
}

void SinaisDeParada::paraDeVigiar() {
    pthread_kill(m_vigia.native_handle(), SIGTERM);
    m_vigia.join();
}

void SinaisDeParada::vigia() {
    const sigset_t s = sinaisVigiados();
    for (;;) {
        int sinal = 0;
        if (sigwait(&s, &sinal) != 0) continue;
        if (m_parando) return;
        cancela(sinal);
    }
}
#endif

SinaisDeParada::~SinaisDeParada() {
    {
        std::lock_guard lock(m_desistirMutex);
        m_parando = true;
    }
    m_fim.notify_all();
    if (m_carencia.joinable()) m_carencia.join();
    paraDeVigiar();
}

void SinaisDeParada::aoDesistir(std::function<void(int)> acao) {
    {
        std::lock_guard lock(m_desistirMutex);
        m_desistir = std::move(acao);
    }
    m_fim.notify_all();
}

// After the grace, the action is run as soon as there is one: a cancel that came before it was given still ends
// work that does not stop.
void SinaisDeParada::carencia() {
    std::unique_lock lock(m_desistirMutex);
    if (m_fim.wait_for(lock, kCarencia, [this] { return m_parando.load(); })) return;
    m_fim.wait(lock, [this] { return m_parando || m_desistir; });
    if (!m_parando) m_desistir(m_motivo.load());
}

void SinaisDeParada::cancela(int motivo) {
    int nenhum = 0;
    m_motivo.compare_exchange_strong(nenhum, motivo);
    m_parada.request_stop();
}

// On the first stop, whoever asked for it.
void SinaisDeParada::iniciaCarencia() {
    std::lock_guard lock(m_desistirMutex);
    if (!m_parando) m_carencia = std::thread([this] { carencia(); });
}

void EncerraAoDesistir(SinaisDeParada& sinais, std::function<std::string(int motivo)> mensagem) {
    sinais.aoDesistir([mensagem = std::move(mensagem)](int motivo) {
        CortaArquivosAbertos();
        ApagaArquivosLateraisIncompletos();
        std::fprintf(stderr, "%s%s\n", isatty(STDERR_FILENO) ? "\r\033[K" : "", mensagem(motivo).c_str());
        std::fflush(stderr);
        std::_Exit(motivo == SinaisDeParada::kTempoEsgotado ? 1 : 128 + motivo);
    });
}

}  // namespace zorla
