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
    std::vector<std::pair<std::size_t, std::size_t>> alterados;  // positions in the two vectors given
    std::vector<std::size_t> soAntes, soDepois;
};
Emparelhamento Emparelha(const std::vector<RegistroComparavel>& antes, const std::vector<RegistroComparavel>& depois);

}  // namespace zorla
