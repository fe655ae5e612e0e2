#include "IniFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "DbError.h"
#include "TextUtil.h"

namespace zorla {

std::optional<std::vector<std::string>> readIniSection(const std::string& path, const std::string& section) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw DbError("Cannot open file \"" + path + "\". " + std::strerror(errno));

    std::optional<std::vector<std::string>> found;
    bool inWanted = false;
    std::string raw;
    while (std::getline(in, raw)) {
        std::string_view line = trimControl(raw);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
            if (found && inWanted) break;  // the first section of that name is the one read
            inWanted = equalsIgnoreCase(trimControl(line.substr(1, line.size() - 2)), section);
            if (inWanted) found.emplace();
            continue;
        }
        if (!inWanted) continue;
        auto eq = line.find('=');
        if (eq == std::string_view::npos) {
            found->emplace_back(line);
        } else {
            std::string entry(trimControl(line.substr(0, eq)));
            entry += '=';
            entry += trimControl(line.substr(eq + 1));
            found->push_back(std::move(entry));
        }
    }
    if (in.bad()) throw DbError("Error reading file \"" + path + "\". " + std::strerror(errno));
    return found;
}

}  // namespace zorla
