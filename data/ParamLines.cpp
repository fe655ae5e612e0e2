#include "data/ParamLines.h"

#include "base/TextUtil.h"

namespace zorla {

std::optional<std::string> ParamLines::value(std::string_view name) const {
    for (const std::string& line : m_lines) {
        std::string_view view(line);
        auto eq = view.find('=');
        std::string_view key = eq == std::string_view::npos ? view : view.substr(0, eq);
        if (equalsIgnoreCase(key, name))
            return std::string(eq == std::string_view::npos ? std::string_view{} : view.substr(eq + 1));
    }
    return std::nullopt;
}

std::string ParamLines::valueOr(std::string_view name, std::string_view fallback) const {
    auto found = value(name);
    return found ? *found : std::string(fallback);
}

}  // namespace zorla
