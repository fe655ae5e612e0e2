#include <gtest/gtest.h>

#include "data/DbError.h"
#include "data/IniFile.h"
#include "data/NamedParams.h"
#include "data/ParamLines.h"
#include "support/TempDir.h"

namespace zorla {
using namespace std::string_literals;
namespace {

TEST(NamedParams, BecomePositionalOutsideLiteralsIdentifiersAndComments) {
    struct Case {
        const char* in;
        const char* sql;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"SELECT * FROM P(:A, :b_2, :A)", "SELECT * FROM P(?, ?, ?)", {"A", "B_2", "A"}},
        {"WHERE X = ':NOPE' AND Y = :Y", "WHERE X = ':NOPE' AND Y = ?", {"Y"}},
        {"WHERE X = 'it''s :NOPE' AND Y=:Y", "WHERE X = 'it''s :NOPE' AND Y=?", {"Y"}},
        {"SELECT \"A:B\" FROM T WHERE C=:C", "SELECT \"A:B\" FROM T WHERE C=?", {"C"}},
        {"SELECT 1 -- :NOPE\nFROM T WHERE D=:D", "SELECT 1 -- :NOPE\nFROM T WHERE D=?", {"D"}},
        {"SELECT /* :NOPE */ 1 FROM T WHERE E=:E", "SELECT /* :NOPE */ 1 FROM T WHERE E=?", {"E"}},
        {"SELECT 'open literal :X", "SELECT 'open literal :X", {}},
        {"SELECT 1 /* open comment :X", "SELECT 1 /* open comment :X", {}},
        {"SELECT a::b, :", "SELECT a::b, :", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        PositionalSql p = toPositional(c.in);
        EXPECT_EQ(p.sql, c.sql);
        EXPECT_EQ(p.names, c.names);
    }
}

TEST(ParamLines, NamesIgnoreCaseAndTheFirstLineWins) {
    ParamLines p({"Database=a.fdb", "user_name=first", "USER_NAME=second", "Password=", "NoEquals", "x=y=z"});
    EXPECT_EQ(p.value("DATABASE"), "a.fdb");
    EXPECT_EQ(p.value("User_Name"), "first");
    EXPECT_EQ(p.value("password"), "");
    EXPECT_EQ(p.value("NoEquals"), "");
    EXPECT_EQ(p.value("X"), "y=z");
    EXPECT_FALSE(p.value("RoleName").has_value());
}

class Ini : public ::testing::Test {
protected:
    std::optional<std::vector<std::string>> read(const std::string& content, const char* section = "EMPRESA") {
        test::writeFile(dir.file("c.ini"), content);
        return readIniSection(dir.file("c.ini"), section);
    }
    test::TempDir dir;
};

TEST_F(Ini, SectionRules) {
    auto s = read(
        "Database=before-any-section\r\n"
        "[OUTRA]\r\nDatabase=other\r\n"
        "  [ empresa ]  \r\n"
        "; comment\r\n"
        "\r\n"
        "  Database  =  host/3052:/x.fdb  \r\n"
        "\tUser_Name= Maria \r\n"
        "no equals sign here\r\n"
        "Odd Key=\r\n"
        "[EMPRESA]\r\nDatabase=second-section\r\n");
    ASSERT_TRUE(s);
    EXPECT_EQ(*s, (std::vector<std::string>{"Database=host/3052:/x.fdb", "User_Name=Maria", "no equals sign here",
                                            "Odd Key="}));
    EXPECT_FALSE(read("[OUTRA]\nDatabase=x\n"));
    EXPECT_EQ(read("[EMPRESA]\n"), std::vector<std::string>{});
}

TEST_F(Ini, EncodingsOfTheFile) {
    const std::pair<std::string, std::string> cases[] = {
        {"\xEF\xBB\xBF[EMPRESA]\r\nDatabase=/sa\xC3\xAD"
         "da/z.fdb\r\n",
         "Database=/saída/z.fdb"},  // UTF-8 with its mark
        {"[EMPRESA]\r\nDatabase=/sa\xC3\xAD"
         "da/z.fdb\r\n",
         "Database=/saída/z.fdb"},  // UTF-8 without
        {"[EMPRESA]\r\nDatabase=/sa\xED"
         "da/\x80.fdb\r\n",
         "Database=/saída/€.fdb"},  // code page 1252
    };
    for (const auto& [content, line] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(read(content), std::vector<std::string>{line});
    }
    for (const char* utf16 : {"\xFF\xFE[\0E\0", "\xFE\xFF\0[\0E"}) {
        try {
            read(std::string(utf16, 6));
            ADD_FAILURE() << "UTF-16 taken as text";
        } catch (const DbError& e) {
            EXPECT_NE(std::string(e.what()).find("não é texto em code page 1252"), std::string::npos) << e.what();
        }
    }
}

TEST_F(Ini, HostileFilesGiveNoCrash) {
    std::string garbage;
    for (int i = 0; i < 100000; ++i) garbage += static_cast<char>((i * 7919) % 256);
    try {
        read(garbage);
        ADD_FAILURE() << "binary file taken as text";
    } catch (const DbError& e) {
        EXPECT_NE(std::string(e.what()).find("não é texto em code page 1252"), std::string::npos) << e.what();
    }
    // Long lines, up to the size a connection file may have.
    auto huge = read("[EMPRESA]\nDatabase=" + std::string(1 << 19, 'x') + "\nUser_Name=u\n");
    ASSERT_TRUE(huge);
    ASSERT_EQ(huge->size(), 2u);
    EXPECT_EQ((*huge)[0].size(), (1u << 19) + 9);
    EXPECT_THROW(read("[EMPRESA]\nDatabase=a\0b\n"s), DbError);
    EXPECT_THROW(readIniSection(dir.file("missing.ini"), "EMPRESA"), DbError);
}

}  // namespace
}  // namespace zorla
