#include "export/Campos.h"

#include "base/Cp1252.h"
#include "export/ExportError.h"
#include "base/Formatacao.h"

namespace zorla {

std::string CampoNumerico(Decimal value, std::uint8_t width, char fill, std::string_view documento,
                          std::string_view campo) {
    std::string digits = DigitosDecimais(value);
    if (digits.size() > width) {
        std::string shown = digits;
        shown.insert(shown.size() - 2, ",");
        throw ExportError("Documento " + cp1252ToUtf8(documento) + ": o valor " + shown + " do campo " +
                          std::string(campo) + " não cabe em " + std::to_string(width) + " posições.");
    }
    return PadRight(digits, width, fill);
}

std::string DataAnoMesDia(const std::optional<Date>& date) {
    if (!date) return std::string(8, ' ');
    std::string s = DataCurta(*date);
    return s.substr(6, 4) + s.substr(3, 2) + s.substr(0, 2);
}

std::string DataDiaMesAno(const std::optional<Date>& date) {
    if (!date) return std::string(8, ' ');
    std::string s = DataCurta(*date);
    return s.substr(0, 2) + s.substr(3, 2) + s.substr(6, 4);
}

std::string DataDDMMAA(const std::optional<Date>& date) {
    if (!date) return std::string(6, ' ');
    std::string s = DataCurta(*date);
    return s.substr(0, 2) + s.substr(3, 2) + s.substr(8, 2);
}

}  // namespace zorla
