#include <gtest/gtest.h>

#include "base/TextoVisivel.h"

namespace zorla {
namespace {

// What reaches a terminal from the database can neither break a line nor steer the terminal.
TEST(TextoVisivel, EveryControlCharacterIsShownByItsName) {
    const std::tuple<std::string, std::string, std::string> casos[] = {
        // UTF-8 in (Visivel), code page 1252 in (VisivelCp1252): the same text out
        {"Jos\xC3\xA9", "Jos\xE9", "José"},
        {"a\x1B[31mb", "a\x1B[31mb", "a<ESC>[31mb"},
        {"1\r\n2\t3", "1\r\n2\t3", "1<CR><LF>2<TAB>3"},
        {std::string("n\0m", 3), std::string("n\0m", 3), "n<NUL>m"},
        {"\x7F", "\x7F", "<127>"},
    };
    for (const auto& [utf8, cp1252, visivel] : casos) {
        SCOPED_TRACE(visivel);
        EXPECT_EQ(Visivel(utf8), visivel);
        EXPECT_EQ(VisivelCp1252(cp1252), visivel);
    }
    EXPECT_EQ(Visivel("\xC2\x9B"
                      "2J"),
              "<155>2J");                            // a C1 control in UTF-8 (CSI)
    EXPECT_EQ(VisivelCp1252("\x9D"), "<157>");       // a byte code page 1252 leaves undefined
    EXPECT_EQ(Visivel("Jos\xE9\x1B"), "José<ESC>");  // not UTF-8: read as code page 1252
}

TEST(TextoVisivel, MessagesKeepTheirLineBreaksOnly) {
    const std::pair<std::string, std::string> casos[] = {
        {"Falha.\rReinicie.", "Falha.\nReinicie."},
        {"a\r\nb\nc", "a\nb\nc"},
        {"nome \x1B[2K\rforjado", "nome <ESC>[2K\nforjado"},
        {"fim\n", "fim\n"},
    };
    for (const auto& [texto, linhas] : casos) EXPECT_EQ(LinhasVisiveis(texto), linhas) << linhas;
}

}  // namespace
}  // namespace zorla
