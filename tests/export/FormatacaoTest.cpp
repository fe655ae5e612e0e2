#include <gtest/gtest.h>

#include <limits>

#include "base/Cp1252.h"
#include "base/Formatacao.h"
#include "base/Periodo.h"

namespace zorla {
namespace {

using namespace std::chrono;

struct PadCase {
    const char* text;
    int width;
    char fill;
    const char* left;
    const char* right;
};

TEST(Formatacao, PadLeftAndPadRight) {
    const PadCase cases[] = {
        {"abc", 0, ' ', "", ""},
        {"", 3, ' ', "   ", "   "},
        {"", 11, '0', "00000000000", "00000000000"},
        {"123456", 4, '0', "1234", "1234"},
        {"ABCDEFGH", 3, ' ', "ABC", "ABC"},
        {"AB", 4, ' ', "AB  ", "  AB"},
        {"7", 2, '0', "70", "07"},
        {"exact", 5, '*', "exact", "exact"},
    };
    for (const PadCase& c : cases) {
        SCOPED_TRACE(std::string(c.text) + "/" + std::to_string(c.width));
        EXPECT_EQ(PadLeft(c.text, static_cast<std::uint8_t>(c.width), c.fill), c.left);
        EXPECT_EQ(PadRight(c.text, static_cast<std::uint8_t>(c.width), c.fill), c.right);
    }
}

TEST(Formatacao, ShortTextIsCutTo255BeforePadding) {
    std::string longo(300, 'x');
    EXPECT_EQ(PadLeft(longo, 255, ' '), std::string(255, 'x'));
    EXPECT_EQ(Copies('-', 0), "");
    EXPECT_EQ(Copies('-', 255).size(), 255u);
}

TEST(Formatacao, CleanUpOperations) {
    EXPECT_EQ(RetiraPontuacao(" 12.345/6-7 "), "1234567");
    EXPECT_EQ(RetiraPontuacao("\t a b \r\n"), "a b");
    EXPECT_EQ(AjustaValor("1.234,56"), "1234.56");
    EXPECT_EQ(AjustaValor("0,5"), "0.5");
    EXPECT_EQ(AjustaValor("1.000"), "1000");
    EXPECT_EQ(AjustaValor("-1.234,56"), "1234.56");
    EXPECT_EQ(RetiraCaracteresEspeciais("(11) 9-8"), "11 98");
    EXPECT_EQ(RetiraCaracteresEspeciais(".,-/\\|+*()[]{}=_;:aA "), "aA ");
}

TEST(Formatacao, Dates) {
    EXPECT_EQ(InverteData(2026y / 12 / 25), "2026/12/25");
    EXPECT_EQ(InverteData(2026y / 3 / 5), "2026/03/05");

    struct Case {
        Date in;
        bool flag;
        Date first;
        Date last;
    };
    const Case cases[] = {
        {2026y / 8 / 17, true, 2026y / 8 / 3, 2026y / 8 / 31},  // starts on Saturday, ends Monday
        {2026y / 3 / 9, true, 2026y / 3 / 2, 2026y / 3 / 31},   // starts on Sunday
        {2026y / 8 / 17, false, 2026y / 8 / 1, 2026y / 8 / 31},
        {2026y / 5 / 1, true, 2026y / 5 / 1, 2026y / 5 / 29},   // the 31st is a Sunday
        {2026y / 1 / 10, true, 2026y / 1 / 1, 2026y / 1 / 30},  // the 31st is a Saturday
        {2024y / 2 / 10, false, 2024y / 2 / 1, 2024y / 2 / 29},
        {2100y / 2 / 10, false, 2100y / 2 / 1, 2100y / 2 / 28},
        {2000y / 2 / 10, false, 2000y / 2 / 1, 2000y / 2 / 29},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(InverteData(c.in));
        EXPECT_EQ(PrimeiroDiaMes(c.in, c.flag), c.first);
        EXPECT_EQ(UltimoDiaMes(c.in, c.flag), c.last);
    }
}

TEST(Formatacao, DecimalDigits) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "000"},           {50, "050"}, {1800, "1800"}, {123450, "123450"},
        {-123450, "-123450"}, {7, "007"},  {-7, "-007"},   {999999999999999, "999999999999999"}};
    for (auto [cents, text] : cases) EXPECT_EQ(DigitosDecimais(Decimal{cents}), text);
}

// Counts as a person reads them: thousands apart, the noun agreeing with the number, negatives kept whole.
TEST(Formatacao, CountsAsAPersonReadsThem) {
    const std::pair<long long, const char*> cases[] = {
        {0, "0 registros"},
        {1, "1 registro"},
        {2, "2 registros"},
        {999, "999 registros"},
        {1000, "1.000 registros"},
        {270000, "270.000 registros"},
        {-1, "-1 registro"},
        {-1234567, "-1.234.567 registros"},
        {1234567890, "1.234.567.890 registros"},
    };
    for (auto [n, text] : cases) EXPECT_EQ(Quantidade(n, "registro", "registros"), text) << n;
    EXPECT_EQ(Numero(std::numeric_limits<long long>::min()), "-9.223.372.036.854.775.808");
}

TEST(Periodo, ComposedDatesAndNames) {
    EXPECT_EQ(ComporData(29, 2, 2008), 2008y / 2 / 29);
    for (auto [d, m, y, text] : {std::tuple{31, 4, 2008, "'31/4/2008' is not a valid date"},
                                 std::tuple{29, 2, 2007, "'29/2/2007' is not a valid date"},
                                 std::tuple{1, 0, 2008, "'1/0/2008' is not a valid date"},
                                 std::tuple{0, 3, 2008, "'0/3/2008' is not a valid date"}}) {
        try {
            ComporData(d, m, y);
            ADD_FAILURE() << text;
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), text);
        }
    }
    EXPECT_EQ(NomeArquivoPeriodo("1", "31", "MAR"), "01A31MAR");
    EXPECT_EQ(NomeArquivoPeriodo("5", "20", "NOV"), "05A20NOV");
    EXPECT_STREQ(AbreviaturaMes(1), "FEV");
    EXPECT_STREQ(NomeMes(2), "Março");
    EXPECT_EQ(MesEAno(2026y / 3 / 31), "março/2026");
    EXPECT_EQ(MesEAno(2008y / 12 / 1), "dezembro/2008");
}

TEST(Cp1252, RoundTripsEveryDefinedByte) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
    EXPECT_EQ(cp1252ToUtf8("\x80\x93\x94\x97\xE7\xBA"), "€“”—çº");
    EXPECT_EQ(utf8ToCp1252("Ação Nº €"), "A\xE7\xE3o N\xBA \x80");
    EXPECT_EQ(utf8ToCp1252("日"), "?");
    EXPECT_EQ(utf8ToCp1252("\xC3"), "?");  // cut sequence
}

}  // namespace
}  // namespace zorla
