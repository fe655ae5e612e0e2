#pragma once

#include <string>
#include <string_view>

namespace zorla {

// Text from the database and in the files is code page 1252; what is shown is UTF-8.
std::string cp1252ToUtf8(std::string_view bytes);
// Characters that code page 1252 lacks, and bytes that are not UTF-8, become "?".
std::string utf8ToCp1252(std::string_view text);

enum class ErroCp1252 { Nenhum, Utf8Invalido, ForaDoCp1252 };
struct ConversaoCp1252 {
    std::string texto;
    ErroCp1252 erro = ErroCp1252::Nenhum;  // the first problem met; the text holds "?" in its place
};
// Strict UTF-8: overlong forms, surrogates and code points past U+10FFFF are invalid.
ConversaoCp1252 converteParaCp1252(std::string_view utf8);
bool utf8Valido(std::string_view text);

}  // namespace zorla
