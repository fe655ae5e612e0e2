#include <gtest/gtest.h>

#include <functional>

#include "base/Caminho.h"
#include "conferencia/ConferenciaDeArquivos.h"
#include "sistema/ArquivosNoDisco.h"
#include "support/LinhaValida.h"
#include "support/TempDir.h"

namespace zorla {
namespace {

using test::linhaValida;

struct Dano {
    const char* oQue;
    TipoArquivo tipo;
    std::function<void(std::vector<std::string>&)> estraga;  // the lines, each without its CR LF
    long linha;
    std::string campo, problema;  // the first problem found: its field and the start of its text
    long quantos = 1;             // problems in all: nothing else is reported of a valid line
};

std::vector<Dano> danos() {
    // Text put into the second line at a field's place (and an offset into it).
    const auto em = [](TipoArquivo tipo, std::string_view campo, std::size_t desvio, std::string texto) {
        const Leiaute& l = LeiauteDoTipo(tipo);
        const std::size_t p = l.inicio(l.indice(campo)) + desvio;
        return [=](std::vector<std::string>& linhas) { linhas[1].replace(p, texto.size(), texto); };
    };
    const auto S = TipoArquivo::LivroSaidas;
    return {
        {"a line one byte short", S, [](auto& l) { l[1].pop_back(); }, 2, "linha", "tem 546 caracteres em vez de 547"},
        {"a letter in an amount", S, em(S, "VALOR", 5, "x"), 2, "VALOR", "não é um valor"},
        {"31/02 in a date", S, em(S, "DATADOCUMENTO", 0, "3102"), 2, "DATADOCUMENTO", "data inexistente"},
        {"a rate with a blank inside", S, em(S, "ALIQUOTAICMS", 0, "1 00"), 2, "ALIQUOTAICMS", "não é um valor"},
        {"another record's kind", S, em(S, "Tipo do registro", 0, "E"), 2, "Tipo do registro", "deveria ser 'S'"},
        {"a NUL", S, em(S, "OBSERVACAO", 10, std::string(1, '\0')), 2, "OBSERVACAO",
         "caractere de controle na posição 80"},
        {"an LF without CR", S, [](auto& l) { l[1] += '\n'; }, 2, "linha", "a linha termina em LF sem CR"},
        {"a UTF-8 \"é\"", S, em(S, "OBSERVACAO", 10, "\xC3\xA9"), 2, "OBSERVACAO", "texto em UTF-8"},
        {"a lone first line of a receipt", TipoArquivo::Recebimentos, [](auto& l) { l.erase(l.begin() + 1); }, 1,
         "Linha", "primeira linha de um movimento sem a segunda"},
        {"a receipt's second line cut: no pair is judged", TipoArquivo::Recebimentos, [](auto& l) { l[1].pop_back(); },
         2, "linha", "tem 74 caracteres"},
        {"a second line without its first", TipoArquivo::DespesasGerais,
         [](auto& l) {
             l[0] = linhaValida(TipoArquivo::DespesasGerais, '2');
             l[1] = linhaValida(TipoArquivo::DespesasGerais, '1');
         },
         1, "Linha", "segunda linha sem a primeira"},
        {"year 0", S, em(S, "DATADOCUMENTO", 0, "31010000"), 2, "DATADOCUMENTO", "data inexistente"},
        {"a byte code page 1252 leaves undefined", S, em(S, "OBSERVACAO", 10, "\x81"), 2, "OBSERVACAO",
         "caractere de controle"},
        {"a DEL among accents", S, em(S, "OBSERVACAO", 10, "\xC9\x7F\xC7"), 2, "OBSERVACAO", "caractere de controle"},
        {"a letter in the last byte", S, [](auto& l) { l[1].back() = 'x'; }, 2, "Brancos", "deveria ter só brancos"},
        {"a minus among the digits", S, em(S, "ISENTO", 8, "-"), 2, "ISENTO", "não é um valor"},
    };
}

std::vector<std::string> validas(TipoArquivo tipo) {
    if (tipo == TipoArquivo::LivroSaidas) return {linhaValida(tipo), linhaValida(tipo), linhaValida(tipo)};
    return {linhaValida(tipo, '1'), linhaValida(tipo, '2'), linhaValida(tipo, '1'), linhaValida(tipo, '2')};
}

ConferenciaDoArquivo confere(TipoArquivo tipo, const std::vector<std::string>& linhas) {
    test::TempDir dir;
    std::string bytes;
    for (const std::string& l : linhas) bytes += l.ends_with('\n') ? l : l + "\r\n";
    const std::string caminho = dir.file("arquivo");
    test::writeFile(caminho, bytes);
    return ConfereArquivo(caminho, tipo);
}

TEST(Conferencia, ValidFilesGiveTheExportsTotals) {
    // What the writers write for a negative amount, a missing rate and date, and code page 1252 text.
    std::vector<std::string> vendas = validas(TipoArquivo::LivroSaidas);
    const Leiaute& l = LeiauteDaSaida();
    const auto poe = [&](std::string_view campo, std::string_view texto) {
        vendas[1].replace(l.inicio(l.indice(campo)), texto.size(), texto);
    };
    poe("VALORIPI", "0000-123450");
    poe("ALIQUOTAICMS", "     ");
    poe("DATADOCUMENTO", "        ");
    poe("OBSERVACAO",
        "AT\xC9\x85 \x93"
        "CAF\xC9\x94 S\xC3"
        "O JO\xC3"
        "O \xAA");
    const ConferenciaDoArquivo livro = confere(TipoArquivo::LivroSaidas, vendas);
    EXPECT_EQ(livro.totalDeProblemas, 0) << (livro.problemas.empty()
                                                 ? ""
                                                 : livro.problemas[0].campo + ": " + livro.problemas[0].problema);
    EXPECT_EQ(livro.totais.linhas, 3);
    EXPECT_EQ(livro.totais.somas.documentos, 3);
    EXPECT_EQ(livro.totais.somas.valor, 3 * 123450);
    EXPECT_EQ(livro.totais.somas.valorIpi, 123450);
    ASSERT_EQ(livro.totais.porTipo.size(), 1u);
    EXPECT_EQ(livro.totais.porTipo[0].first, "tttt");
    const ConferenciaDoArquivo ctr = confere(TipoArquivo::Recebimentos, validas(TipoArquivo::Recebimentos));
    EXPECT_EQ(ctr.totalDeProblemas, 0);
    EXPECT_EQ(ctr.totais.somas.documentos, 2);
    EXPECT_EQ(ctr.totais.somas.valor, 4 * 123450);
}

TEST(Conferencia, EachDamageIsNamedWithItsLineAndField) {
    for (const Dano& d : danos()) {
        SCOPED_TRACE(d.oQue);
        std::vector<std::string> linhas = validas(d.tipo);
        d.estraga(linhas);
        const ConferenciaDoArquivo c = confere(d.tipo, linhas);
        ASSERT_EQ(c.totalDeProblemas, d.quantos);
        ASSERT_FALSE(c.problemas.empty());
        EXPECT_EQ(c.problemas[0].linha, d.linha);
        EXPECT_EQ(c.problemas[0].campo, d.campo);
        EXPECT_EQ(c.problemas[0].problema.rfind(d.problema, 0), 0u) << c.problemas[0].problema;
    }
}

// A book large enough to be read in two halves at once: its lines are numbered on across the halves.
TEST(Conferencia, ALargeBookIsReadInHalvesAsOne) {
    std::vector<std::string> linhas(31000, linhaValida(TipoArquivo::LivroSaidas));
    linhas[29999].pop_back();
    const ConferenciaDoArquivo c = confere(TipoArquivo::LivroSaidas, linhas);
    EXPECT_EQ(c.totais.linhas, 31000);
    EXPECT_EQ(c.totais.somas.documentos, 30999);
    ASSERT_EQ(c.totalDeProblemas, 1);
    EXPECT_EQ(c.problemas[0].linha, 30000);
}

// Folders and files named with accents (UTF-8, as the program keeps every path on every system): found, read, and
// one file named twice read once.
TEST(Conferencia, PathsWithAccentsAreFoundAndRead) {
    test::TempDir dir;
    const std::string pasta = dir.file("saída de março");
    std::filesystem::create_directory(CaminhoDoSistema(pasta));
    const std::string sai = pasta + "/01A31MAR.SAI";
    {
        ArquivosNoDisco disco;
        auto arquivo = disco.cria(sai);
        for (const std::string& l : validas(TipoArquivo::LivroSaidas)) arquivo->gravaLinha(l);
        arquivo->fecha();
    }
    const auto achados = ArquivosExportados(pasta);
    ASSERT_EQ(achados.size(), 1u);
    EXPECT_EQ(CaminhoDoSistema(achados[0].first).filename(), "01A31MAR.SAI");
    const auto conferidos = ConfereParaMostrar({sai, pasta});
    ASSERT_EQ(conferidos.size(), 1u);
    EXPECT_EQ(conferidos[0].conferencia.totais.linhas, 3);
    EXPECT_EQ(conferidos[0].conferencia.totalDeProblemas, 0);
}

}  // namespace
}  // namespace zorla
