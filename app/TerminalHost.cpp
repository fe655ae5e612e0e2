#include "TerminalHost.h"

namespace zorla {

namespace {
// Per-record labels change too fast to be worth a line of their own.
bool rotuloDeRegistro(const std::string& texto) { return texto.rfind("Movimento: ", 0) == 0; }
}  // namespace

TerminalHost::TerminalHost(const std::atomic<bool>& cancelado, std::FILE* out, bool terminal)
    : m_cancelado(cancelado), m_out(out), m_terminal(terminal) {}

void TerminalHost::terminaExportacao() { limpaBarra(); }

void TerminalHost::lblMovimento(const std::string& texto) {
    if (rotuloDeRegistro(texto) || texto == "Status do processamento") return;
    if (texto == m_etapa) return;
    m_etapa = texto;
    if (m_terminal) {
        desenhaBarra(true);
    } else {
        std::fprintf(m_out, "%s\n", texto.c_str());
    }
}

void TerminalHost::lblArquivo(const std::string& texto) {
    if (texto.empty()) return;
    limpaBarra();
    std::fprintf(m_out, "%s\n", texto.c_str());
}

void TerminalHost::gaugeMaximo(int maximo) {
    m_maximo = maximo;
    if (m_terminal) desenhaBarra(true);
}

void TerminalHost::gaugePosicao(int posicao) {
    m_posicao = posicao;
    if (m_terminal) desenhaBarra(posicao == m_maximo);
}

void TerminalHost::mensagem(const std::string& texto, MessageIcon) {
    limpaBarra();
    std::string linhas;
    for (std::size_t i = 0; i < texto.size(); ++i) {
        if (texto[i] == '\r') {
            linhas += '\n';
            if (i + 1 < texto.size() && texto[i + 1] == '\n') ++i;
        } else {
            linhas += texto[i];
        }
    }
    std::fprintf(m_out, "%s\n", linhas.c_str());
    std::fflush(m_out);
}

void TerminalHost::desenhaBarra(bool forcar) {
    auto agora = std::chrono::steady_clock::now();
    if (!forcar && agora - m_ultimoDesenho < std::chrono::milliseconds(100)) return;
    m_ultimoDesenho = agora;
    constexpr int kLargura = 30;
    int cheio = m_maximo > 0 ? static_cast<int>(static_cast<long long>(m_posicao) * kLargura / m_maximo) : 0;
    std::string barra(static_cast<std::size_t>(cheio), '#');
    barra.resize(kLargura, '.');
    std::fprintf(m_out, "\r\033[K[%s] %d/%d %s", barra.c_str(), m_posicao, m_maximo, m_etapa.c_str());
    std::fflush(m_out);
    m_barraVisivel = true;
}

void TerminalHost::limpaBarra() {
    if (!m_barraVisivel) return;
    std::fprintf(m_out, "\r\033[K");
    m_barraVisivel = false;
}

}  // namespace zorla
