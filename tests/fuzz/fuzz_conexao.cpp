// The connection file reader and the parameter lines: no input crashes them, every line they give is UTF-8 with
// no blanks or control characters at its ends, and a name's value is that of its first line.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/Cp1252.h"
#include "base/TextUtil.h"
#include "data/DbError.h"
#include "data/IniFile.h"
#include "data/ParamLines.h"

namespace {
void check(bool ok) {
    if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zorla;
    std::optional<std::vector<std::string>> lines;
    try {
        lines = parseIniSection(std::string_view(reinterpret_cast<const char*>(data), size), "EMPRESA", "fuzz.ini");
    } catch (const DbError&) {
        return 0;
    }
    if (!lines) return 0;
    for (const std::string& line : *lines) {
        check(utf8Valido(line));
        check(!line.empty() && trimControl(line).size() == line.size());
        check(line.find('\n') == std::string::npos);
    }
    const ParamLines params(*lines);
    for (const std::string& line : *lines) {
        const std::string name = line.substr(0, line.find('='));
        const auto value = params.value(name);
        check(value.has_value());
        for (const std::string& first : *lines) {
            if (!equalsIgnoreCase(first.substr(0, first.find('=')), name)) continue;
            const auto eq = first.find('=');
            check(*value == (eq == std::string::npos ? std::string() : first.substr(eq + 1)));
            break;
        }
    }
    return 0;
}
