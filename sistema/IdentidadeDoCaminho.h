#pragma once

#include <string>

namespace zorla {

// Files and folders compared as the system knows them (device and inode), not by how they are spelt. A path that
// does not exist yet is the deepest folder of it that does, every link on the way followed (one to what does not
// exist yet too), and the rest of it: two paths that will be one folder once made have one identity already.
std::string IdentidadeDoCaminho(const std::string& caminho);

}  // namespace zorla
