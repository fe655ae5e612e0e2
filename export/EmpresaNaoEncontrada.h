#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace zorla {

// The company asked for is not in the connection's database: nothing was consulted or written.
class EmpresaNaoEncontrada : public std::runtime_error {
public:
    explicit EmpresaNaoEncontrada(std::int64_t codigo)
        : std::runtime_error("Empresa " + std::to_string(codigo) + " não encontrada."), m_codigo(codigo) {}
    std::int64_t codigo() const { return m_codigo; }

private:
    std::int64_t m_codigo;
};

}  // namespace zorla
