#pragma once

#include <string>
#include <vector>

#include "conferencia/ConferenciaDeArquivos.h"

namespace zorla {

// Files read back as the reader tells them: per file its records, lines and problems, then every problem found
// (file, line, field, positions, value). UTF-8 lines.
std::string TextoDaConferencia(const std::vector<ConferenciaDoArquivo>& conferidos);

}  // namespace zorla
