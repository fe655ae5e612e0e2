#include "base/Caminho.h"

namespace zorla {

#ifdef _WIN32
std::filesystem::path CaminhoDoSistema(std::string_view texto) {
    return std::filesystem::path(std::u8string(texto.begin(), texto.end()));
}

std::string TextoDoCaminho(const std::filesystem::path& caminho) {
    const std::u8string u8 = caminho.u8string();
    return std::string(u8.begin(), u8.end());
}
#else
std::filesystem::path CaminhoDoSistema(std::string_view texto) { return std::filesystem::path(texto); }

std::string TextoDoCaminho(const std::filesystem::path& caminho) { return caminho.string(); }
#endif

std::string NomeDoArquivo(std::string_view caminho) {
    const auto barra = caminho.find_last_of("/\\");
    return std::string(barra == std::string_view::npos ? caminho : caminho.substr(barra + 1));
}

}  // namespace zorla
