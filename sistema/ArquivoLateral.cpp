#include "sistema/ArquivoLateral.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <utility>
#include <vector>

#include "base/Caminho.h"
#include "sistema/ChamadasDeArquivo.h"

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

ArquivoLateral::ArquivoLateral(std::string destino) : m_destino(std::move(destino)) {
    // The rename would put a plain file in place of a device, a pipe or a folder.
    std::error_code ec;
    const auto tipo = std::filesystem::symlink_status(CaminhoDoSistema(m_destino), ec).type();
    if (!ec && tipo != std::filesystem::file_type::regular && tipo != std::filesystem::file_type::symlink &&
        tipo != std::filesystem::file_type::not_found)
        throw std::runtime_error("Não foi possível gravar o arquivo " + m_destino +
                                 ": não é um arquivo comum. Escolha outro nome.");
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
