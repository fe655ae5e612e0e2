#pragma once

#include <functional>
#include <string_view>

namespace zorla {

// Takes a text piece by piece, so that millions of lines are never held twice.
using Escrita = std::function<void(std::string_view)>;

}  // namespace zorla
