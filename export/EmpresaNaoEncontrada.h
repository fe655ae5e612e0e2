#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace zorla {

// The company asked for is not in the connection's database: nothing was consulted or written.
class EmpresaNaoEncontrada : public std::runtime_error {
public:
    explicit EmpresaNaoEncontrada(std::int64_t codigo)
        : std::runtime_error("Empresa " + std::to_string(codigo) + " não encontrada.") {}
};

}  // namespace zorla
