#pragma once

#include <string>

#include "base/Recusa.h"

namespace zorla {

// The output folder, looked at before connecting: a run that would fail on its first file after a long query is
// refused at once, with what to do. A folder that does not exist is refused with the question whether to create it.
OuRecusa<void> ExaminaPasta(const std::string& pasta);
// Creates a missing folder with its parents.
OuRecusa<void> CriaPasta(const std::string& pasta);

}  // namespace zorla
