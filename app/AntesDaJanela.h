#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zorla {

// What the window program answers before it opens a window: --help and --version, which need no display, an option
// it does not know, and a session without a display, where Qt would abort. The exit status when the program ends here;
// nothing when the window may open. Texts go to the given outputs.
struct SaidaAntesDaJanela {
    int status = 0;
    std::string saida;  // for the standard output
    std::string erro;   // for the standard error
};
std::optional<SaidaAntesDaJanela> AntesDaJanela(const std::vector<std::string>& argumentos, bool temTela,
                                                const std::string& versao);

// Whether this session has somewhere to show a window: an X or Wayland display, or a platform Qt was told of.
bool SessaoTemTela();

}  // namespace zorla
