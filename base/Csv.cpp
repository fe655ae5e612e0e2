#include "base/Csv.h"

#include "base/Cp1252.h"

namespace zorla {

namespace {
template <class Campos>
std::string linhaCsv(const Campos& campos) {
    std::string linha;
    bool primeiro = true;
    for (std::string_view campo : campos) {
        if (!primeiro) linha += ';';
        primeiro = false;
        const std::string texto = utf8ToCp1252(campo);
        if (texto.find_first_of(";\"\r\n") == std::string::npos) {
            linha += texto;
            continue;
        }
        linha += '"';
        for (char c : texto) linha += c == '"' ? std::string("\"\"") : std::string(1, c);
        linha += '"';
    }
    return linha + "\r\n";
}
}  // namespace

std::string LinhaCsv(std::initializer_list<std::string_view> campos) { return linhaCsv(campos); }
std::string LinhaCsv(const std::vector<std::string>& campos) { return linhaCsv(campos); }
std::string LinhaCsv(std::span<const std::string_view> campos) { return linhaCsv(campos); }

}  // namespace zorla
