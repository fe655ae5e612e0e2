#pragma once

#include <string>

namespace zorla {

// Files and folders compared as the system knows them (device and inode), not by how they are spelt; a path that
// does not exist is compared by its spelling made absolute.
std::string IdentidadeDoCaminho(const std::string& caminho);

}  // namespace zorla
