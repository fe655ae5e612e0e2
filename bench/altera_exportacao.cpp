// An export's folder copied with the corrections of a re-export, deterministically: of every 200 records (a book's
// record, or a movement's lines), two changed (a book's VALOR, a movement's credit account), one removed and one
// added after it (another document number): 1% changed, 0.5% removed, 0.5% added.
//   altera_exportacao DE PARA
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/Caminho.h"
#include "leiaute/Leiaute.h"
#include "leiaute/TipoArquivo.h"

namespace fs = std::filesystem;
using namespace zorla;

namespace {

std::vector<std::string> linhas(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::vector<std::string> out;
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        out.push_back(std::move(l));
    }
    return out;
}

// The records: each a book's line, or a movement's one or two lines.
std::vector<std::vector<std::string>> registros(const std::vector<std::string>& ls, TipoArquivo tipo) {
    const Leiaute& l = LeiauteDoTipo(tipo);
    std::vector<std::vector<std::string>> out;
    for (const std::string& linha : ls) {
        const bool segunda = !LivroFiscal(tipo) && l.campo(linha, l.indice("Linha")) == "2";
        if (segunda && !out.empty())
            out.back().push_back(linha);
        else
            out.push_back({linha});
    }
    return out;
}

void poe(std::string& linha, const Leiaute& l, std::size_t campo, const std::string& valor) {
    linha.replace(l.inicio(campo), valor.size(), valor);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "uso: altera_exportacao DE PARA\n");
        return 2;
    }
    fs::create_directories(argv[2]);
    long novos = 0;
    for (const auto& e : fs::directory_iterator(argv[1])) {
        const std::string nome = e.path().filename().string();
        const auto tipo = TipoPeloNome(nome);
        if (!tipo) continue;
        const Leiaute& l = LeiauteDoTipo(*tipo);
        const bool livro = LivroFiscal(*tipo);
        std::ofstream out(fs::path(argv[2]) / nome, std::ios::binary);
        long n = 0;
        for (auto r : registros(linhas(e.path()), *tipo)) {
            const long i = n++ % 200;
            if (i == 7) continue;
            if (i == 3 || i == 103)
                for (std::string& linha : r)
                    livro ? poe(linha, l, l.indice("VALOR"), "00000000777")
                          : poe(linha, l, l.indice("CREDORA"), "9999999");
            for (const std::string& linha : r) out << linha << "\r\n";
            if (i != 11) continue;
            char numero[8];
            std::snprintf(numero, sizeof numero, "Z%05ld", ++novos % 100000);
            for (std::string linha : r) {
                poe(linha, l, l.indice(livro ? "NUMERODOC" : "DOCUMENTO"), numero);
                out << linha << "\r\n";
            }
        }
    }
    return 0;
}
