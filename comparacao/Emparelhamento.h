#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "comparacao/ColetorDeRegistros.h"

namespace zorla {

// Which records of two versions of a file are the same, which changed, which are on one side only. Records of one
// identity are matched first by what they hold, whatever their order (a record that only moved is no difference),
// then the rest of them one to one in their order (changed); what is left of an identity on one side only was
// removed or added.
struct Emparelhamento {
    std::size_t iguais = 0;
    std::vector<std::pair<RegistroComparavel, RegistroComparavel>> alterados;
    std::vector<RegistroComparavel> soAntes, soDepois;
};
// Takes the two versions' records in the order of their files, and sorts them as it goes; gives the differences in
// the order of their identities (the caller puts them in the files' order, with what it reads of them).
Emparelhamento Emparelha(std::vector<RegistroComparavel> antes, std::vector<RegistroComparavel> depois);

}  // namespace zorla
