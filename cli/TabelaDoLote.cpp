#include "cli/TabelaDoLote.h"

#include <algorithm>
#include <cstdio>

#include "base/TextUtil.h"
#include "base/TextoVisivel.h"
#include "cli/CsvDoLote.h"
#include "cli/Terminal.h"
#include "export/Pendencias.h"
#include "export/Resumo.h"
#include "verificacao/TextosDaVerificacao.h"

namespace zorla {

const char* NomeDoEstado(AndamentoDoLote::Estado e) {
    using E = AndamentoDoLote::Estado;
    return e == E::Concluida       ? "concluída"
           : e == E::ComPendencias ? kConcluidaComPendencias
           : e == E::ComErros      ? "concluída com erros"
           : e == E::Falhou        ? "falhou"
           : e == E::Cancelada     ? "cancelada"
           : e == E::NaoIniciada   ? "não iniciada"
                                   : "";
}

std::string TabelaDoLote::rotulo(std::size_t i) const {
    return "empresa " + std::to_string(m_itens[i].empresa) + " (linha " + std::to_string(m_itens[i].linha) + ")";
}

std::string TabelaDoLote::resultado(std::size_t i) const {
    const AndamentoDoLote& a = *m_andamentos[i];
    std::string r = NomeDoEstado(a.estado);
    if (a.estado == AndamentoDoLote::Estado::Falhou) r += ": " + a.erro;
    return r;
}

void TabelaDoLote::exportacoes() const {
    std::printf("%-8s %-40s %-24s", "Empresa", "Pasta", "Resultado");
    for (TipoArquivo tipo : kTiposDeArquivo) std::printf(" %8s", SiglaDoArquivo(tipo));
    std::printf("\n");
    for (std::size_t i = 0; i < m_itens.size(); ++i) {
        const AndamentoDoLote& a = *m_andamentos[i];
        // Accented states are padded by hand: printf counts bytes.
        const std::string estado = NomeDoEstado(a.estado);
        const std::size_t largura = LarguraNoTerminal(estado);
        std::printf("%-8s %-40s %s%s", std::to_string(m_itens[i].empresa).c_str(), Visivel(m_itens[i].pasta).c_str(),
                    estado.c_str(), std::string(largura < 24 ? 24 - largura : 0, ' ').c_str());
        // The lines of each file the run reported; a file it did not write has none.
        for (TipoArquivo tipo : kTiposDeArquivo) {
            const auto& feitos = a.resultado.arquivos;
            const auto f =
                std::find_if(feitos.begin(), feitos.end(), [tipo](const ArquivoGravado& g) { return g.tipo == tipo; });
            if (f == feitos.end())
                std::printf(" %8s", "-");
            else
                std::printf(" %8ld", f->linhas);
        }
        if (a.estado == AndamentoDoLote::Estado::Falhou) std::printf("  %s", a.erro.c_str());
        std::printf("\n");
    }
    depoisDaTabela();
}

// After the table, what each line removed of an earlier run, and the movements it wrote without an account.
void TabelaDoLote::depoisDaTabela() const {
    for (std::size_t i = 0; i < m_itens.size(); ++i) {
        const ResultadoDaExportacao& r = m_andamentos[i]->resultado;
        for (const std::string& apagado : r.apagados)
            std::printf("%s: %s: %s\n", rotulo(i).c_str(), Visivel(apagado).c_str(), kApagado);
        if (m_andamentos[i]->estado == AndamentoDoLote::Estado::ComPendencias)
            std::printf("\n== %s: %s", rotulo(i).c_str(), TextoDasPendencias(r).c_str());
    }
}

// Each company's table, or one CSV of them all.
void TabelaDoLote::verificacoes(bool csv) const {
    const Escrita escreve = Imprime;
    std::vector<std::pair<LinhaDoLote, const ResultadoDaVerificacao*>> linhas;
    for (std::size_t i = 0; i < m_itens.size(); ++i) {
        const AndamentoDoLote& a = *m_andamentos[i];
        const bool concluida = Completou(a.estado);
        if (csv) {
            if (concluida)
                linhas.emplace_back(LinhaDoLote{m_itens[i].linha, m_itens[i].conexao, m_itens[i].empresa},
                                    &a.verificacao);
            continue;
        }
        std::printf("== %s, pasta %s: %s\n", rotulo(i).c_str(), Visivel(m_itens[i].pasta).c_str(),
                    resultado(i).c_str());
        if (concluida) TabelaDaVerificacao(a.verificacao, escreve);
    }
    if (csv) CsvDaVerificacaoDoLote(linhas, escreve);
}

}  // namespace zorla
