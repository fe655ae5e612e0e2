#pragma once

#include <stdexcept>
#include <string>

namespace zorla {

// A value the layouts cannot hold; the run reports it and stops.
class ValorForaDoLeiaute : public std::runtime_error {
public:
    explicit ValorForaDoLeiaute(const std::string& text) : std::runtime_error(text) {}
};

}  // namespace zorla
