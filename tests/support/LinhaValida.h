#pragma once

#include <string>

#include "leiaute/Leiaute.h"

namespace zorla::test {

// A valid line of a layout, every field filled as its rule allows; a cash/bank line with its line number.
inline std::string linhaValida(TipoArquivo tipo, char numero = '1') {
    std::string linha;
    for (const CampoDoLeiaute& f : LeiauteDoTipo(tipo).campos) {
        switch (f.regra) {
            case Regra::Fixo:
                linha.append(f.largura, f.preenchimento);
                break;
            case Regra::Valor:
                linha += f.preenchimento == '0' ? std::string(f.largura - 6, '0') + "123450" : " 1800";
                break;
            case Regra::AnoMesDia:
                linha += "20080305";
                break;
            case Regra::DiaMesAno:
                linha += "05032008";
                break;
            case Regra::DiaMesAno2:
                linha += "050308";
                break;
            case Regra::Dado:
                linha += f.nome == "Linha" ? std::string(1, numero) : std::string(f.largura, 'd');
                break;
            default:
                linha.append(f.largura, 't');
        }
    }
    return linha;
}

}  // namespace zorla::test
