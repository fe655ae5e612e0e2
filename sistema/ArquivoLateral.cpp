#include "sistema/ArquivoLateral.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <utility>
#include <vector>

#include "base/ArquivoParaLer.h"
#include "base/Caminho.h"
#include "base/TextoVisivel.h"
#include "sistema/ChamadasDeArquivo.h"
#include "sistema/TravaPasta.h"

namespace zorla {

namespace {
using namespace arquivo;

std::atomic<unsigned> g_sequencia{0};
constexpr std::size_t kBloco = std::size_t{1} << 16;

// The temporary files being written, for a program that must end at once.
std::mutex g_temporariosMutex;
std::vector<const std::string*> g_temporarios;
}  // namespace

void ApagaArquivosLateraisIncompletos() {
    std::lock_guard lock(g_temporariosMutex);
    for (const std::string* t : g_temporarios) std::remove(t->c_str());
}

namespace {

std::string pastaDe(const std::string& destino) {
    const std::filesystem::path pasta = CaminhoDoSistema(destino).parent_path();
    return pasta.empty() ? "." : TextoDoCaminho(pasta);
}

std::string pastaOcupada(const std::string& destino) {
    return "Não foi possível gravar o arquivo " + Visivel(destino) + ": " +
           MensagemPastaOcupada(Visivel(pastaDe(destino)));
}

// What a run killed before renaming its side file left beside the target: its temporary files, which nothing else
// will remove. Those of a process still running are its own.
void apagaTemporariosAbandonados(const std::string& destino) {
    const std::filesystem::path alvo = CaminhoDoSistema(destino);
    const std::string prefixo = TextoDoCaminho(alvo.filename()) + ".tmp-";
    std::error_code ec;
    for (std::filesystem::directory_iterator it(CaminhoDoSistema(pastaDe(destino)), ec), fim; !ec && it != fim;
         it.increment(ec)) {
        const std::string nome = TextoDoCaminho(it->path().filename());
        if (!nome.starts_with(prefixo)) continue;
        const std::string resto = nome.substr(prefixo.size());
        const auto traco = resto.find('-');
        if (traco == 0 || traco == std::string::npos || resto.find_first_not_of("0123456789-") != std::string::npos)
            continue;
        const int pid = std::atoi(resto.substr(0, traco).c_str());
        std::error_code apagou;
        if (pid > 0 && !arquivo::processoVivo(pid)) std::filesystem::remove(it->path(), apagou);
    }
}

// What the path names that a side file may not replace.
std::string impedimentoDoCaminho(const std::string& destino) {
    const std::string oQueE = OQueOCaminhoE(destino);
    if (oQueE == "uma pasta") return "O caminho " + Visivel(destino) + " é uma pasta: informe um arquivo.";
    const bool link = oQueE.starts_with("um link");
    if (!oQueE.empty() && oQueE != "nada" && !link)
        return "O caminho " + Visivel(destino) + " é " + oQueE +
               ", não um arquivo comum: escolha outro nome para o arquivo CSV.";
    // A link is replaced, never followed; a file is replaced only when this user could write it.
    if (oQueE.empty() && !arquivo::podeGravar(destino))
        return "O arquivo " + Visivel(destino) + " já existe e este usuário não pode gravá-lo (" +
               std::strerror(errno) + "): escolha outro nome para o arquivo CSV.";
    return {};
}

}  // namespace

std::string ImpedimentoDoArquivoLateral(const std::string& destino) {
    if (std::string impedimento = impedimentoDoCaminho(destino); !impedimento.empty()) return impedimento;
    if (!TravaPasta::paraArquivoLateral(pastaDe(destino))) return pastaOcupada(destino);
    return {};
}

ArquivoLateral::ArquivoLateral(std::string destino) : m_destino(std::move(destino)) {
    if (const std::string impedimento = impedimentoDoCaminho(m_destino); !impedimento.empty())
        throw std::runtime_error(impedimento);
    // Another run's folder is its own until it ends: a file renamed there would take the place of one of its files.
    auto trava = TravaPasta::paraArquivoLateral(pastaDe(m_destino));
    if (!trava) throw std::runtime_error(pastaOcupada(m_destino));
    m_trava = std::make_unique<TravaPasta>(std::move(*trava));
    apagaTemporariosAbandonados(m_destino);
    for (int tentativa = 0; m_fd < 0; ++tentativa) {
        m_temporario = m_destino + ".tmp-" + std::to_string(processo()) + "-" + std::to_string(g_sequencia++);
        m_fd = criaNovo(m_temporario.c_str(), 0644);
        if (m_fd < 0 && (errno != EEXIST || tentativa > 100)) falha("criar", errno);
    }
    m_buffer.reserve(kBloco);
    std::lock_guard lock(g_temporariosMutex);
    g_temporarios.push_back(&m_temporario);
}

ArquivoLateral::~ArquivoLateral() {
    {
        std::lock_guard lock(g_temporariosMutex);
        std::erase(g_temporarios, &m_temporario);
    }
    if (m_fd < 0) return;
    fecha(m_fd);
    std::remove(m_temporario.c_str());
}

void ArquivoLateral::falha(const char* oque, int erro) {
    throw std::runtime_error("Não foi possível " + std::string(oque) + " o arquivo " + m_destino + ": " +
                             std::strerror(erro) + ". Verifique a pasta e o espaço livre e tente de novo.");
}

// Pieces gather into blocks: a CSV of millions of rows is not millions of system calls.
void ArquivoLateral::escreve(std::string_view bytes) {
    m_buffer.append(bytes);
    if (m_buffer.size() >= kBloco) esvazia();
}

void ArquivoLateral::esvazia() {
    std::size_t escritos = 0;
    if (const int erro = escreveTudo(m_fd, m_buffer.data(), m_buffer.size(), escritos)) falha("gravar", erro);
    m_buffer.clear();
}

void ArquivoLateral::conclui() {
    esvazia();
    if (sincroniza(m_fd) != 0) falha("gravar", errno);
    const int fd = std::exchange(m_fd, -1);
    const bool fechou = fecha(fd) == 0;
    const int erro = errno;
    std::error_code ec;
    // The rename replaces the target on every system.
    if (fechou) std::filesystem::rename(CaminhoDoSistema(m_temporario), CaminhoDoSistema(m_destino), ec);
    if (fechou && !ec) return;
    std::remove(m_temporario.c_str());
    falha("gravar", fechou ? ec.value() : erro);
}

void GravaArquivoLateral(const std::string& destino, std::string_view bytes) {
    ArquivoLateral arquivo(destino);
    arquivo.escreve(bytes);
    arquivo.conclui();
}

}  // namespace zorla
