#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorla {

// The program file carries its version as two 32-bit words after a marker, as a version resource would: major and
// minor in the first word, release and build in the second. Fixed at build time.
std::optional<std::array<std::uint16_t, 4>> lerVersaoArquivo(const std::string& arquivo);

// "major.minor.release", then ".build" when the kind is "BUILD" in any case; 0.0.0(.0) without a version.
std::string VersaoDoArquivo(const std::string& arquivo, std::string_view tipo);

// The bytes of a marker for the given version, as the program file holds them.
std::array<unsigned char, 24> marcadorVersao(std::uint16_t major, std::uint16_t minor, std::uint16_t release,
                                             std::uint16_t build);

}  // namespace zorla
