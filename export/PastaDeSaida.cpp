#include "export/PastaDeSaida.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "base/Caminho.h"
#include "export/ChamadasDeArquivo.h"

namespace zorla {

namespace fs = std::filesystem;

namespace {
using namespace arquivo;

// Only a file made and removed tells: permissions, a read-only file system, an administrator's own rights.
// A name another run left behind is passed over for the next.
int erroDeGravacao(const std::string& pasta) {
    for (int n = 0;; ++n) {
        const std::string teste = TextoDoCaminho(
            CaminhoDoSistema(pasta) / (".zorla-exporta-" + std::to_string(processo()) + "-" + std::to_string(n)));
        const int fd = criaNovo(teste.c_str(), 0600);
        if (fd < 0 && (errno == EEXIST || errno == ELOOP) && n < 100) continue;
        if (fd < 0) return errno;
        fecha(fd);
        std::remove(teste.c_str());
        return 0;
    }
}
}  // namespace

ConferenciaDaPasta ConferePasta(const std::string& pasta) {
    using E = ConferenciaDaPasta::Estado;
    std::error_code ec;
    const fs::file_status s = fs::status(CaminhoDoSistema(pasta), ec);
    if (!fs::exists(s)) return {E::NaoExiste, "A pasta " + pasta + " não existe."};
    if (!fs::is_directory(s))
        return {E::NaoEPasta, "O caminho " + pasta + " não é uma pasta. Escolha uma pasta para os arquivos."};
    if (const int erro = erroDeGravacao(pasta))
        return {E::SemGravacao, "Não é possível gravar na pasta " + pasta + " (" + std::strerror(erro) +
                                    "). Escolha outra pasta, ou peça ao administrador permissão de gravação nela."};
    return {};
}

std::string CriaPasta(const std::string& pasta) {
    std::error_code ec;
    fs::create_directories(CaminhoDoSistema(pasta), ec);
    if (!ec) return {};
    return "Não foi possível criar a pasta " + pasta + " (" + ec.message() + "). Escolha outra pasta.";
}

std::string PreparaPasta(const std::string& pasta, bool& criada) {
    criada = false;
    ConferenciaDaPasta c = ConferePasta(pasta);
    if (c.estado == ConferenciaDaPasta::Estado::NaoExiste) {
        if (std::string erro = CriaPasta(pasta); !erro.empty()) return erro;
        criada = true;
        c = ConferePasta(pasta);
    }
    return c.mensagem;
}

std::string mensagemPastaCriada(const std::string& pasta) { return "A pasta " + pasta + " não existia e foi criada."; }

}  // namespace zorla
