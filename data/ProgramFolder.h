#pragma once

#include <string>

namespace zorla {

// Real path of the running program file.
std::string programFile();
// Real folder of the running program file, with its trailing path delimiter.
std::string programFolder();

}  // namespace zorla
