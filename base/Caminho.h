#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zorla {

// A path as the program keeps it, and as the system takes it. On Windows the program's code page is UTF-8 (its
// manifest), which the standard library's paths do not follow by themselves; elsewhere a path is its bytes.
std::filesystem::path CaminhoDoSistema(std::string_view texto);
std::string TextoDoCaminho(const std::filesystem::path& caminho);
// The file's name without its folder.
std::string NomeDoArquivo(std::string_view caminho);

}  // namespace zorla
