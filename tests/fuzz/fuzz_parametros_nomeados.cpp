// The named-parameter converter: whatever the text, each ":NAME" outside literals, quoted names and comments
// becomes one "?" and names come out in upper case; nothing else of the text changes length.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "data/NamedParams.h"

namespace {
void check(bool ok) {
    if (!ok) std::abort();
}
bool nameChar(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$'; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string sql(reinterpret_cast<const char*>(data), size);
    const zorla::PositionalSql out = zorla::toPositional(sql);
    std::size_t removed = 0;
    for (const std::string& name : out.names) {
        check(!name.empty());
        for (char c : name) check(nameChar(c));
        removed += name.size();  // ":NAME" became "?"
    }
    check(out.sql.size() + removed == sql.size());
    return 0;
}
