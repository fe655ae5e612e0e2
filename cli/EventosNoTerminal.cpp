#include "cli/EventosNoTerminal.h"

#include "base/Caminho.h"
#include "base/TextoVisivel.h"
#include "export/Pendencias.h"

namespace zorla {

EventosNoTerminal::EventosNoTerminal(std::FILE* out, bool terminal, std::string pasta)
    : m_out(out), m_terminal(terminal), m_pasta(std::move(pasta)) {}

void EventosNoTerminal::etapaIniciada(Etapa etapa, int registros) {
    m_maximo = registros;
    m_posicao = 0;
    if (etapa != Etapa::MovimentoBancario) mostraEtapa(kGerandoArquivo);
    if (m_terminal) desenhaBarra(true);
}

void EventosNoTerminal::registroFeito(int numero, std::string_view) {
    m_posicao = numero;
    if (m_terminal) desenhaBarra(numero == m_maximo);
}

void EventosNoTerminal::arquivoIniciado(TipoArquivo tipo, const std::string& caminho) {
    if (tipo == TipoArquivo::LivroEntradas) {
        limpaBarra();
        std::fprintf(m_out, "ARQUIVO: %s\n", Visivel(NomeDoArquivo(caminho)).c_str());
    } else if (tipo != TipoArquivo::LivroSaidas) {
        mostraEtapa(TextoDoPasso(tipo));
    }
}

void EventosNoTerminal::aviso(const Aviso& aviso) { escreve(aviso.texto); }

void EventosNoTerminal::terminou(const ResultadoDaExportacao& r) {
    switch (r.desfecho) {
        case Desfecho::Falhou:
            escreve(MensagemDeFalha(r.erro));
            break;
        case Desfecho::Cancelado:
            escreve(kMensagemCancelada);
            break;
        case Desfecho::Concluido:
            // The folder as typed, its controls by name: its line breaks are not the message's.
            escreve(MensagemConcluida(Visivel(m_pasta)));
            if (auto vazio = AvisoDePeriodoVazio(r)) escreve(*vazio);
            if (!r.semConta.empty()) escreve(FraseDasPendencias(r));
            break;
    }
}

// A stage is a line of its own, or the text beside the bar; the same text twice in a row is shown once.
void EventosNoTerminal::mostraEtapa(const std::string& texto) {
    if (texto == m_etapa) return;
    m_etapa = texto;
    if (m_terminal)
        desenhaBarra(true);
    else
        std::fprintf(m_out, "%s\n", texto.c_str());
}

// A message box's text as lines: its CR and CR LF breaks become line ends; any other control character, which only
// text from the database or the server could bring, is shown by its name.
void EventosNoTerminal::escreve(const std::string& texto) {
    limpaBarra();
    std::fprintf(m_out, "%s\n", LinhasVisiveis(texto).c_str());
    std::fflush(m_out);
}

void EventosNoTerminal::desenhaBarra(bool forcar) {
    auto agora = std::chrono::steady_clock::now();
    if (!forcar && agora - m_ultimoDesenho < std::chrono::milliseconds(100)) return;
    m_ultimoDesenho = agora;
    constexpr int kLargura = 30;
    if (m_maximo == kRegistrosDesconhecidos) {
        // Rows written as they arrive: how many so far, as there is no end to measure against.
        std::fprintf(m_out, "\r\033[K%d %s %s", m_posicao, m_posicao == 1 ? "registro" : "registros", m_etapa.c_str());
    } else {
        const int cheio = m_maximo > 0 ? static_cast<int>(static_cast<long long>(m_posicao) * kLargura / m_maximo) : 0;
        std::string barra(static_cast<std::size_t>(cheio), '#');
        barra.resize(kLargura, '.');
        std::fprintf(m_out, "\r\033[K[%s] %d/%d %s", barra.c_str(), m_posicao, m_maximo, m_etapa.c_str());
    }
    std::fflush(m_out);
    m_barraVisivel = true;
}

void EventosNoTerminal::limpaBarra() {
    if (!m_barraVisivel) return;
    std::fprintf(m_out, "\r\033[K");
    m_barraVisivel = false;
}

}  // namespace zorla
