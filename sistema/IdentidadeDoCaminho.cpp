#include "sistema/IdentidadeDoCaminho.h"

#include <filesystem>

#include "base/Caminho.h"
#include "base/TextUtil.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace zorla {

std::string IdentidadeDoCaminho(const std::string& caminho) {
#ifndef _WIN32
    struct stat s {};
    if (::stat(caminho.c_str(), &s) == 0)
        return std::to_string(static_cast<unsigned long long>(s.st_dev)) + ":" +
               std::to_string(static_cast<unsigned long long>(s.st_ino));
#endif
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::weakly_canonical(CaminhoDoSistema(caminho), ec);
#ifdef _WIN32
    return "@" + upperAscii(ec ? caminho : TextoDoCaminho(p));  // its file names are one in any case
#else
    return "@" + (ec ? caminho : TextoDoCaminho(p));
#endif
}

}  // namespace zorla
