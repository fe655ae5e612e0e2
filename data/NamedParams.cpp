#include "data/NamedParams.h"

#include "base/TextUtil.h"

namespace zorla {

namespace {
bool isNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '$';
}
}  // namespace

PositionalSql toPositional(const std::string& sql) {
    PositionalSql out;
    out.sql.reserve(sql.size());
    const std::size_t n = sql.size();
    std::size_t i = 0;
    auto copyUntil = [&](std::size_t end) {
        out.sql.append(sql, i, end - i);
        i = end;
    };
    while (i < n) {
        char c = sql[i];
        if (c == '\'' || c == '"') {
            // A doubled quote inside stays inside.
            std::size_t j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                ++j;
            }
            copyUntil(std::min(j, n));
        } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
            std::size_t j = sql.find('\n', i);
            copyUntil(j == std::string::npos ? n : j);
        } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
            std::size_t j = sql.find("*/", i + 2);
            copyUntil(j == std::string::npos ? n : j + 2);
        } else if (c == ':' && i + 1 < n && isNameChar(sql[i + 1]) &&
                   (i == 0 || (!isNameChar(sql[i - 1]) && sql[i - 1] != ':'))) {
            std::size_t j = i + 1;
            while (j < n && isNameChar(sql[j])) ++j;
            out.names.push_back(upperAscii(std::string_view(sql).substr(i + 1, j - i - 1)));
            out.sql += '?';
            i = j;
        } else {
            out.sql += c;
            ++i;
        }
    }
    return out;
}

}  // namespace zorla
