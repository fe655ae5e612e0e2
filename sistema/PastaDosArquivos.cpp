#include "sistema/PastaDosArquivos.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "base/Caminho.h"
#include "sistema/ChamadasDeArquivo.h"

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

OuRecusa<void> ExaminaPasta(const std::string& pasta) {
    std::error_code ec;
    const fs::file_status s = fs::status(CaminhoDoSistema(pasta), ec);
    if (!fs::exists(s))
        return Recusa{"A pasta " + pasta + " não existe.", Recusa::Motivo::Ambiente, Recusa::Pergunta::CriaPasta};
    if (!fs::is_directory(s))
        return Recusa{"O caminho " + pasta + " não é uma pasta. Escolha uma pasta para os arquivos.",
                      Recusa::Motivo::Ambiente};
    if (const int erro = erroDeGravacao(pasta))
        return Recusa{"Não é possível gravar na pasta " + pasta + " (" + std::strerror(erro) +
                          "). Escolha outra pasta, ou peça ao administrador permissão de gravação nela.",
                      Recusa::Motivo::Ambiente};
    return {};
}

OuRecusa<void> CriaPasta(const std::string& pasta) {
    std::error_code ec;
    fs::create_directories(CaminhoDoSistema(pasta), ec);
    if (!ec) return {};
    return Recusa{"Não foi possível criar a pasta " + pasta + " (" + ec.message() + "). Escolha outra pasta.",
                  Recusa::Motivo::Ambiente};
}

}  // namespace zorla
