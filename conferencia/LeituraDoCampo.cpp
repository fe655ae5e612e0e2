#include "conferencia/LeituraDoCampo.h"

#include <optional>

#include "base/Formatacao.h"
#include "base/TextoVisivel.h"
#include "conferencia/ConferenciaDeArquivos.h"

namespace zorla {

namespace {

bool emBranco(std::string_view v) { return v.find_first_not_of(' ') == std::string_view::npos; }

// dd/mm/yyyy from a date field's digits; nothing when they are not digits.
std::optional<std::string> data(const CampoDoLeiaute& f, std::string_view v) {
    if (v.size() < 6 || v.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
    if (f.regra == Regra::AnoMesDia)
        return std::string(v.substr(6, 2)) + "/" + std::string(v.substr(4, 2)) + "/" + std::string(v.substr(0, 4));
    return std::string(v.substr(0, 2)) + "/" + std::string(v.substr(2, 2)) + "/" +
           (f.regra == Regra::DiaMesAno2 ? "20" : "") + std::string(v.substr(4));
}

// The reading both take: the date, or the text without its fill; amounts each its own way.
template <class Montante>
std::string le(const CampoDoLeiaute& f, std::string_view v, Montante montante) {
    if (f.regra == Regra::Valor && !emBranco(v))
        if (auto c = CentavosDoCampo(f, v)) return montante(Decimal{*c});
    if (f.data())
        if (auto d = data(f, v)) return *d;
    return VisivelCp1252(v.substr(0, v.find_last_not_of(' ') + 1));
}

}  // namespace

std::string CampoParaPessoa(const CampoDoLeiaute& campo, std::string_view texto) {
    return le(campo, texto, ValorFormatado);
}

std::string CampoParaPlanilha(const CampoDoLeiaute& campo, std::string_view texto) {
    return le(campo, texto, ValorParaPlanilha);
}

}  // namespace zorla
