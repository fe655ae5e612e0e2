#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorla {

// A connection file is a few lines; one larger than this is not one.
inline constexpr std::uint64_t kTamanhoMaximoDaConexao = 1u << 20;

// Lines of one section of an INI file, read by the connection file rules: trimmed, comments and blank lines
// skipped, "name = value" turned into "name=value", the first of two sections of the same name read.
// Gives nothing when the section is absent; throws DbError when the file cannot be read or is no regular file of
// at most kTamanhoMaximoDaConexao. The lines are UTF-8,
// whatever the file's encoding.
std::optional<std::vector<std::string>> readIniSection(const std::string& path, const std::string& section);
// The same rules over a file's bytes already read; the path only names the file in messages.
std::optional<std::vector<std::string>> parseIniSection(std::string_view bytes, const std::string& section,
                                                        const std::string& path);

}  // namespace zorla
