#pragma once

#include <stdexcept>
#include <string>

namespace zorla {

// Every failure of the database layer, carrying the driver's or the server's own text.
class DbError : public std::runtime_error {
public:
    explicit DbError(const std::string& text) : std::runtime_error(text) {}
};

}  // namespace zorla
