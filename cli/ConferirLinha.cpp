// One line of an exported file field by field, and a file's records as CSV.
#include <cstdio>
#include <map>

#include "base/Caminho.h"
#include "base/Cp1252.h"
#include "base/Csv.h"
#include "base/Formatacao.h"
#include "base/TextUtil.h"
#include "base/TextoVisivel.h"
#include "cli/Conferir.h"
#include "cli/Terminal.h"
#include "conferencia/ConferenciaDeArquivos.h"
#include "conferencia/LeituraDoCampo.h"

namespace zorla {

namespace {

std::string alinhado(const std::string& texto, std::size_t largura) {
    const std::size_t ocupa = LarguraNoTerminal(texto);
    return texto + std::string(ocupa < largura ? largura - ocupa : 1, ' ');
}

std::string tabela(const Leiaute& l, long numero, std::string_view linha) {
    std::string t = "Linha " + std::to_string(numero) + " (" + std::to_string(linha.size()) + " caracteres";
    t += linha.size() == l.largura() ? "):\n" : "; o leiaute tem " + std::to_string(l.largura()) + "):\n";
    t += "  " + alinhado("Campo", 20) + alinhado("Posições", 11) + "Valor\n";
    for (std::size_t i = 0; i < l.campos.size(); ++i) {
        const std::size_t de = l.inicio(i) + 1, ate = l.inicio(i) + l.campos[i].largura;
        const std::string pos = de == ate ? std::to_string(de) : std::to_string(de) + "–" + std::to_string(ate);
        t += "  " + alinhado(std::string(l.campos[i].nome), 20) + alinhado(pos, 11) + "\"" +
             VisivelCp1252(l.campo(linha, i)) + "\"\n";
    }
    return t;
}

}  // namespace

int MostraLinha(const std::string& caminho, TipoArquivo tipo, long numero) {
    const Leiaute& l = LeiauteDoTipo(tipo);
    std::map<long, std::string> linhas;  // the line and those around it
    long total = 0;
    LeLinhas(caminho, [&](long n, std::string_view t) {
        total = n;
        if (n + 1 >= numero) linhas[n] = t;
        return n <= numero;
    });
    if (!linhas.count(numero)) {
        std::fprintf(stderr, "%s tem %ld linhas: não há a linha %ld.\n", Visivel(caminho).c_str(), total, numero);
        return kStatusArgumentos;
    }
    long de = numero, ate = numero;
    if (!LivroFiscal(tipo)) {
        const std::size_t i = l.indice("Linha");
        const auto numeroDa = [&](long n) { return linhas.count(n) ? l.campo(linhas[n], i) : std::string_view(); };
        if (numeroDa(numero) == "2" && numeroDa(numero - 1) == "1") de = numero - 1;
        if (numeroDa(numero) == "1" && numeroDa(numero + 1) == "2") ate = numero + 1;
    }
    Imprime(Visivel(NomeDoArquivo(caminho)) + ", " + std::string(l.nome) + "\n");
    for (long n = de; n <= ate; ++n) Imprime(tabela(l, n, linhas[n]));
    return 0;
}

int EscreveCsv(const std::string& caminho, TipoArquivo tipo) {
    const Leiaute& l = LeiauteDoTipo(tipo);
    const std::vector<std::size_t> colunas = l.camposComNome();
    std::vector<std::string> nomes = {"Linha"};
    for (std::size_t i : colunas) nomes.push_back(l.titulo(i));
    Imprime(LinhaCsv(nomes));
    LeLinhas(caminho, [&](long n, std::string_view linha) {
        std::vector<std::string> valores = {std::to_string(n)};
        for (std::size_t i : colunas) valores.push_back(CampoParaPlanilha(l.campos[i], l.campo(linha, i)));
        Imprime(LinhaCsv(valores));
        return true;
    });
    return 0;
}

}  // namespace zorla
