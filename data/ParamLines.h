#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorla {

// Connection parameters as name=value lines. Names match ignoring case; the first line of a name wins.
class ParamLines {
public:
    ParamLines() = default;
    explicit ParamLines(std::vector<std::string> lines) : m_lines(std::move(lines)) {}

    void clear() { m_lines.clear(); }
    void add(std::string line) { m_lines.push_back(std::move(line)); }
    const std::vector<std::string>& lines() const { return m_lines; }

    std::optional<std::string> value(std::string_view name) const;
    // The value, or the empty text when the name is absent.
    std::string valueOr(std::string_view name, std::string_view fallback = {}) const;

private:
    std::vector<std::string> m_lines;
};

}  // namespace zorla
