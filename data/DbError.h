#pragma once

#include <stdexcept>
#include <string>

namespace zorla {

// Every failure of the database layer, carrying the driver's or the server's own text.
class DbError : public std::runtime_error {
public:
    explicit DbError(const std::string& text, bool cancelada = false)
        : std::runtime_error(text), m_cancelada(cancelada) {}
    // The server stopped the operation because it was asked to cancel it.
    bool cancelada() const { return m_cancelada; }

private:
    bool m_cancelada;
};

}  // namespace zorla
