#include "data/IniFile.h"

#include <sstream>

#include "base/ArquivoParaLer.h"
#include "base/Cp1252.h"
#include "base/TextUtil.h"
#include "data/DbError.h"

namespace zorla {

namespace {
// The file as UTF-8 text. It should be code page 1252; a UTF-8 byte-order mark is skipped and text that is valid
// UTF-8 is taken as such, since code page 1252 text with accents hardly ever is. UTF-16 and NUL bytes are refused.
std::string textoUtf8(std::string_view bytes, const std::string& path) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF") || bytes.find('\0') != std::string::npos)
        throw DbError(
            "O arquivo de conexão \"" + path +
            "\" não é texto em code page 1252 (UTF-16 ou binário). Salve-o como texto ANSI (code page 1252).");
    return utf8Valido(bytes) ? std::string(bytes) : cp1252ToUtf8(bytes);
}
}  // namespace

std::optional<std::vector<std::string>> readIniSection(const std::string& path, const std::string& section) {
    using Motivo = ArquivoRecusado::Motivo;
    std::string bytes;
    try {
        bytes = ArquivoParaLer(path, kTamanhoMaximoDaConexao, "O arquivo de conexão").tudo();
    } catch (const ArquivoRecusado& e) {
        if (e.motivo() == Motivo::NaoExiste)
            throw DbError(DbError("Driver/Connection Registry File '" + path + "' not found"),
                          ConnectionFailure::ConnectionFile);
        throw DbError(DbError(e.what()), e.motivo() == Motivo::SemPermissao ? ConnectionFailure::ConnectionFileAccess
                                                                            : ConnectionFailure::ConnectionFile);
    }
    return parseIniSection(bytes, section, path);
}

std::optional<std::vector<std::string>> parseIniSection(std::string_view bytes, const std::string& section,
                                                        const std::string& path) {
    std::istringstream in(textoUtf8(bytes, path));
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
    return found;
}

}  // namespace zorla
