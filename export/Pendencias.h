#pragma once

#include <optional>
#include <string>

#include "export/EventosDaExportacao.h"

namespace zorla {

// What a completed run must say besides "sucesso", the same in the window, the terminal and a batch.

// The movements written without an account, a line each (date, document, amount, party), under a title line;
// empty when there are none.
std::string TextoDasPendencias(const ResultadoDaExportacao& resultado);
// One sentence for the end of the run: how many movements went without an account; empty when none.
std::string FraseDasPendencias(const ResultadoDaExportacao& resultado);
// The window's line under its success: "3 movimentos foram gravados sem código contábil (conta em branco): veja os
// detalhes."; empty when none.
std::string AvisoDasPendencias(const ResultadoDaExportacao& resultado);
// The period had no document nor movement: every file is empty, which nobody should import unawares.
std::optional<std::string> AvisoDePeriodoVazio(const ResultadoDaExportacao& resultado);

inline const char* const kConcluidaComPendencias = "concluída com pendências";

}  // namespace zorla
