#include "cli/Conferir.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "base/Caminho.h"
#include "base/Cp1252.h"
#include "base/Csv.h"
#include "base/Formatacao.h"
#include "base/TextoVisivel.h"
#include "cli/Terminal.h"
#include "conferencia/ConferenciaDeArquivos.h"
#include "conferencia/TextoDaConferencia.h"
#include "export/Resumo.h"
#include "sistema/SinaisDeParada.h"

namespace zorla {

namespace {

using Arquivo = std::pair<std::string, TipoArquivo>;

// Per file its records, lines and problems; then every problem; then the totals as the export's summary.
int relata(const std::vector<ConferenciaDoArquivo>& conferidos) {
    ResultadoDaExportacao totais;
    long problemas = 0;
    for (const ConferenciaDoArquivo& c : conferidos) {
        totais.arquivos.push_back(c.totais);
        problemas += c.totalDeProblemas;
    }
    Imprime(TextoDaConferencia(conferidos));
    Imprime(TextoDoResumo(totais));
    return problemas > 0 ? kStatusErros : 0;
}

// What an export always writes and the folder lacks makes the folder no whole export; a purchases book not there is
// what a period without purchases leaves.
int faltas(const FaltasNaPasta& f) {
    const auto lista = [](const std::vector<std::string>& nomes) {
        std::string texto;
        for (const std::string& n : nomes) texto += (texto.empty() ? "" : "; ") + n;
        return texto;
    };
    if (!f.semCompras.empty())
        Imprime(lista(f.semCompras) + ": não está na pasta, o que é normal quando o período não tem compras.\n");
    if (f.faltam.empty()) return 0;
    Imprime("Faltam arquivos da exportação: " + lista(f.faltam) +
            ". A exportação grava sempre o livro de saídas e os três arquivos de caixa/banco: exporte o período de "
            "novo.\n");
    return kStatusErros;
}

}  // namespace

int Confere(const Argumentos& args, SinaisDeParada& sinais) {
    // Reading writes nothing: a signal has nothing to wait for but the grace.
    DesisteCom(sinais, 0, "Conferência cancelada!");
    std::vector<Arquivo> arquivos;
    try {
        arquivos = ArquivosExportados(args.conferir);
        if ((args.linha || args.csv) && arquivos.size() != 1)
            throw std::invalid_argument("--linha e --formato csv pedem um arquivo, não uma pasta.");
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "%s\n", Visivel(e.what()).c_str());
        return kStatusArgumentos;
    } catch (const std::runtime_error& e) {
        std::fprintf(stderr, "%s\n", Visivel(e.what()).c_str());
        return 1;
    }
    try {
        if (args.linha) return MostraLinha(arquivos[0].first, arquivos[0].second, *args.linha);
        if (args.csv) return EscreveCsv(arquivos[0].first, arquivos[0].second);
        const int status = relata(ConfereArquivos(arquivos));
        std::error_code ec;
        if (!std::filesystem::is_directory(CaminhoDoSistema(args.conferir), ec)) return status;
        return std::max(status, faltas(FaltasDaExportacao(args.conferir, arquivos)));
    } catch (const std::runtime_error& e) {
        std::fprintf(stderr, "%s\n", Visivel(e.what()).c_str());
        return 1;
    }
}

}  // namespace zorla
