#include "conferencia/TextoDaConferencia.h"

#include "base/Caminho.h"
#include "base/Formatacao.h"
#include "base/TextoVisivel.h"

namespace zorla {

namespace {

std::string posicoes(const ProblemaNaLinha& p) {
    if (p.inicio == 0) return "";
    return " (posiç" +
           std::string(p.inicio == p.fim ? "ão " + std::to_string(p.inicio)
                                         : "ões " + std::to_string(p.inicio) + "–" + std::to_string(p.fim)) +
           ")";
}

}  // namespace

std::string TextoDaConferencia(const std::vector<ConferenciaDoArquivo>& conferidos) {
    std::string texto;
    long problemas = 0;
    for (const ConferenciaDoArquivo& c : conferidos) {
        const ArquivoGravado& a = c.totais;
        const bool livro = LivroFiscal(a.tipo);
        texto += Visivel(NomeDoArquivo(a.caminho)) + ": " +
                 Quantidade(a.somas.documentos, livro ? "registro" : "movimento", livro ? "registros" : "movimentos") +
                 ", " + Quantidade(a.linhas, "linha", "linhas") + ", " +
                 Quantidade(c.totalDeProblemas, "problema", "problemas") + "\n";
        problemas += c.totalDeProblemas;
    }
    if (problemas > 0) texto += "Problemas:\n";
    for (const ConferenciaDoArquivo& c : conferidos) {
        const std::string nome = Visivel(NomeDoArquivo(c.totais.caminho));
        for (const ProblemaNaLinha& p : c.problemas)
            texto += "  " + nome + ", linha " + std::to_string(p.linha) + ", " + p.campo + posicoes(p) +
                     (p.valor.empty() && p.inicio == 0 ? "" : ", valor \"" + p.valor + "\"") + ": " + p.problema + "\n";
        if (c.totalDeProblemas > static_cast<long>(c.problemas.size()))
            texto += "  … e mais " + Numero(c.totalDeProblemas - static_cast<long>(c.problemas.size())) +
                     " problemas em " + nome + "\n";
    }
    return texto;
}

}  // namespace zorla
