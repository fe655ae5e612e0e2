#include "data/ProgramFolder.h"

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

#include "base/Caminho.h"

namespace zorla {

std::string programFile() {
#ifdef _WIN32
    char buffer[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return std::string(buffer, n);
#else
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) exe = std::filesystem::current_path() / "program";
    return exe.string();
#endif
}

std::string programFolder() {
    std::string folder = TextoDoCaminho(CaminhoDoSistema(programFile()).parent_path());
    if (folder.empty() || folder.back() != std::filesystem::path::preferred_separator)
        folder += std::filesystem::path::preferred_separator;
    return folder;
}

}  // namespace zorla
