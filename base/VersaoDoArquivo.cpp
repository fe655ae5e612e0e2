#include "base/VersaoDoArquivo.h"

#include <algorithm>
#include <fstream>
#include <string>

#include "base/TextUtil.h"

namespace zorla {

namespace {
// Kept reversed here, so the only copy of the marker in a program file is the one that carries the version.
constexpr char kMarcadorInvertido[] = "\x01NOISREV-ALROZ\x7f";

std::string marcador() {
    std::string m(kMarcadorInvertido, sizeof kMarcadorInvertido - 1);
    std::reverse(m.begin(), m.end());
    return m;
}

void poe32(unsigned char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

std::uint32_t le32(const char* p) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(p[i]);
    return v;
}
}  // namespace

std::array<unsigned char, 24> marcadorVersao(std::uint16_t major, std::uint16_t minor, std::uint16_t release,
                                             std::uint16_t build) {
    std::array<unsigned char, 24> out{};
    std::string m = marcador();
    std::copy(m.begin(), m.end(), out.begin());
    poe32(out.data() + 16, (std::uint32_t{major} << 16) | minor);
    poe32(out.data() + 20, (std::uint32_t{release} << 16) | build);
    return out;
}

std::optional<std::array<std::uint16_t, 4>> lerVersaoArquivo(const std::string& arquivo) {
    std::ifstream file(arquivo, std::ios::binary);
    if (!file) return std::nullopt;
    const std::string m = marcador();
    // Read in blocks that overlap by a marker's length, so a marker across two blocks is still found.
    std::string janela;
    std::string bloco(std::size_t{1} << 20, '\0');
    for (;;) {
        file.read(bloco.data(), static_cast<std::streamsize>(bloco.size()));
        const auto lidos = static_cast<std::size_t>(file.gcount());
        if (lidos == 0) return std::nullopt;
        janela.append(bloco.data(), lidos);
        auto pos = janela.find(m);
        if (pos != std::string::npos && pos + 24 <= janela.size()) {
            std::uint32_t ms = le32(janela.data() + pos + 16), ls = le32(janela.data() + pos + 20);
            return std::array<std::uint16_t, 4>{static_cast<std::uint16_t>(ms >> 16), static_cast<std::uint16_t>(ms),
                                                static_cast<std::uint16_t>(ls >> 16), static_cast<std::uint16_t>(ls)};
        }
        if (pos == std::string::npos && janela.size() > 32) janela.erase(0, janela.size() - 32);
    }
}

std::string VersaoDoArquivo(const std::string& arquivo, std::string_view tipo) {
    const auto v = lerVersaoArquivo(arquivo).value_or(std::array<std::uint16_t, 4>{0, 0, 0, 0});
    std::string texto = std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]);
    if (equalsIgnoreCase(tipo, "BUILD")) texto += "." + std::to_string(v[3]);
    return texto;
}

}  // namespace zorla
