#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "leiaute/Leiaute.h"

namespace zorla {

// What every byte of a well-formed line of a layout must be, in one pass over it: code page 1252 with no control
// character and no UTF-8, the fixed fields' fill, and digits throughout the zero-filled amounts. A line that passes
// needs only its dates, rates and line numbers read one by one; one that fails is read field by field.
class MoldeDaLinha {
public:
    explicit MoldeDaLinha(const Leiaute& leiaute);

    bool confere(std::string_view linha) const;
    // Whether the one pass already vouches for the field, so that it need not be read on its own.
    bool cobre(std::size_t campo) const;

private:
    bool altosAceitos(std::string_view linha) const;

    const Leiaute& m_l;
    // The least and the greatest byte each position may hold: the fill of a fixed field, '0'–'9' in an amount,
    // from the blank up elsewhere (above 0x7E, what code page 1252 defines is looked at on its own).
    std::string m_menor, m_maior;
};

// The length of the UTF-8 sequence of Portuguese text starting at `i` (2 or 3), or 0 when there is none.
std::size_t Utf8Em(std::string_view texto, std::size_t i);

}  // namespace zorla
