#include <gtest/gtest.h>

#include "base/Documentos.h"

namespace zorla {
namespace {

TEST(Documentos, CnpjAndCpfByTheModulusElevenRules) {
    struct Caso {
        const char* numero;
        bool cnpj;
        bool valido;
    };
    const Caso casos[] = {
        {"11.222.333/0001-81", true, true},
        {"11.222.333/0001-82", true, false},
        {"11.444.777/0001-61", true, true},
        {"12.ABC.345/01DE-35", true, true},  // alphanumeric, the official example
        {"12.ABC.345/01DE-36", true, false},
        {"00.000.000/0000-00", true, false},  // one digit repeated
        {"11.222.333/0001-8", true, false},
        {"1122233300018A", true, false},  // a letter as check digit
        {"529.982.247-25", false, true},
        {"123.456.789-09", false, true},
        {"529.982.247-26", false, false},
        {"111.111.111-11", false, false},
        {"5299822472", false, false},
        {"52998224A25", false, false},
        // A wrong first check digit with the second right for it.
        {"11.222.333/0001-73", true, false},
        {"529.982.247-33", false, false},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.numero);
        const std::string limpo = SemPontuacaoDoDocumento(c.numero);
        EXPECT_EQ(c.cnpj ? CnpjValido(limpo) : CpfValido(limpo), c.valido);
    }
}

}  // namespace
}  // namespace zorla
