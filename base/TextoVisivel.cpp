#include "base/TextoVisivel.h"

#include "base/Cp1252.h"

namespace zorla {

namespace {

const char* const kNomesDosControles[] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "TAB", "LF",
                                          "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
                                          "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};

std::string nome(unsigned codigo) {
    return "<" + (codigo < 0x20 ? std::string(kNomesDosControles[codigo]) : std::to_string(codigo)) + ">";
}

// The length of the UTF-8 sequence that starts with this byte; the text is known to be valid.
std::size_t tamanhoUtf8(unsigned char b) { return b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4; }

void acrescentaVisivel(std::string& out, std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = tamanhoUtf8(b);
        if (b < 0x20 || b == 0x7F) {
            out += nome(b);
        } else if (b == 0xC2 && static_cast<unsigned char>(utf8[i + 1]) < 0xA0) {  // U+0080 to U+009F
            out += nome(static_cast<unsigned char>(utf8[i + 1]));
        } else {
            out.append(utf8.substr(i, n));
        }
        i += n;
    }
}

}  // namespace

std::string VisivelCp1252(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size());
    for (char c : cp1252) {
        const auto b = static_cast<unsigned char>(c);
        // Code page 1252 leaves these five undefined: shown as the C1 controls they would be read as.
        if (b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
            out += nome(b);
        else
            out += cp1252ToUtf8(std::string_view(&c, 1));
    }
    return out;
}

std::string Visivel(std::string_view texto) {
    if (!utf8Valido(texto)) return VisivelCp1252(texto);
    std::string out;
    out.reserve(texto.size());
    acrescentaVisivel(out, texto);
    return out;
}

std::string LinhasVisiveis(std::string_view texto) {
    std::string out;
    out.reserve(texto.size());
    for (std::size_t inicio = 0; inicio <= texto.size();) {
        const std::size_t fim = texto.find_first_of("\r\n", inicio);
        const std::string_view linha = texto.substr(inicio, fim == std::string_view::npos ? texto.npos : fim - inicio);
        out += Visivel(linha);
        if (fim == std::string_view::npos) break;
        out += '\n';
        inicio = fim + (texto.substr(fim, 2) == "\r\n" ? 2 : 1);
    }
    return out;
}

}  // namespace zorla
