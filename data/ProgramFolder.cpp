#include "data/ProgramFolder.h"

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

namespace zorla {

std::string programFolder() {
    std::filesystem::path exe;
#ifdef _WIN32
    char buffer[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    exe = std::string(buffer, n);
#else
    std::error_code ec;
    exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) exe = std::filesystem::current_path() / "program";
#endif
    std::string folder = exe.parent_path().string();
    if (folder.empty() || folder.back() != std::filesystem::path::preferred_separator)
        folder += std::filesystem::path::preferred_separator;
    return folder;
}

}  // namespace zorla
