#pragma once

#include <stdexcept>
#include <string>

namespace zorla {

// A value the layouts cannot hold; the run reports it and stops.
class ExportError : public std::runtime_error {
public:
    explicit ExportError(const std::string& text) : std::runtime_error(text) {}
};

}  // namespace zorla
