#include "export/Verificacao.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "data/DMVantero.h"
#include "data/DbError.h"
#include "export/RepasseParaOutraThread.h"
#include "export/VerificacaoDaConsulta.h"

namespace zorla {

namespace {

// Reads a result into a check; false when its columns were refused and its rows not read.
template <class Leitura>
bool leColunasAceitas(Leitura&& leitura) {
    try {
        leitura();
        return true;
    } catch (const ColunasRecusadas&) {
        return false;
    }
}

}  // namespace

int ResultadoDaVerificacao::erros() const {
    if (errosContados) return *errosContados;
    return static_cast<int>(
        std::count_if(problemas.begin(), problemas.end(), [](const Problema& p) { return p.gravidade == Gravidade::Erro; }));
}

int ResultadoDaVerificacao::avisos() const { return static_cast<int>(problemas.size()) - erros(); }

std::string ContagemDosProblemas(const ResultadoDaVerificacao& r) {
    const int erros = r.erros();
    return ContagemDosProblemas(erros, static_cast<long>(r.problemas.size()) - erros);
}

std::string ContagemDosProblemas(long erros, long avisos) {
    return std::to_string(erros) + (erros == 1 ? " erro, " : " erros, ") + std::to_string(avisos) +
           (avisos == 1 ? " aviso" : " avisos");
}

const char* NomeDaGravidade(Gravidade g) { return g == Gravidade::Erro ? "Erro" : "Aviso"; }

std::string_view RotuloDoCampo(std::string_view campo) {
    static constexpr std::pair<std::string_view, std::string_view> kRotulos[] = {
        {"NUMERODOC", "Número do documento (NUMERODOC)"},  {"SERIEDOC", "Série (SERIEDOC)"},
        {"CFOP", "Natureza da operação (CFOP)"},           {"ALIQUOTAICMS", "Alíquota do ICMS (ALIQUOTAICMS)"},
        {"DATAMOVIMENTO", "Data do movimento (DATAMOVIMENTO)"}, {"DATADOCUMENTO", "Data do documento (DATADOCUMENTO)"},
        {"OBSERVACAO", "Observação (OBSERVACAO)"},         {"ESTADOCLIENTE", "UF do cliente (ESTADOCLIENTE)"},
        {"ESTADO", "UF (ESTADO)"},                         {"CIDADECLIENTE", "Cidade do cliente (CIDADECLIENTE)"},
        {"CNPJ", "CNPJ (CNPJ)"},                           {"CPF", "CPF (CPF)"},
        {"CNPJ/CPF", "CNPJ ou CPF (CNPJ/CPF)"},            {"VALOR", "Valor (VALOR)"},
        {"BASEICMS", "Base do ICMS (BASEICMS)"},           {"VALORICMS", "Valor do ICMS (VALORICMS)"},
        {"ISENTO", "Isento (ISENTO)"},                     {"OUTROS", "Outros (OUTROS)"},
        {"BASEIPI", "Base do IPI (BASEIPI)"},              {"VALORIPI", "Valor do IPI (VALORIPI)"},
        {"CREDORA", "Conta credora (CREDORA)"},            {"DEVEDORA", "Conta devedora (DEVEDORA)"},
        {"DOCUMENTO", "Documento (DOCUMENTO)"},            {"DATA", "Data (DATA)"},
        {"HISTORICO", "Histórico (HISTORICO)"},
    };
    for (const auto& [nome, rotulo] : kRotulos)
        if (nome == campo) return rotulo;
    return campo;
}

std::array<std::string_view, 5> ColunasDoProblema(const Problema& p) {
    return {NomeDaGravidade(p.gravidade), p.documento, RotuloDoCampo(p.campo), p.valor, p.problema};
}

void VerificaNosDestinos(TFDMExporta& dm, const Periodo& periodo, std::int64_t empresa,
                         const ConsultaParalela::NovoModulo& novoModulo,
                         const std::array<DestinoDosProblemas*, 3>& destinos) {
    using Consulta = VerificacaoDaConsulta::Consulta;
    // The rules and the problems' texts on a thread of their own: the fetch goes on meanwhile.
    const auto le = [&](TFDMExporta& m, int k) {
        const auto verificacao = k == 2 ? VerificacaoDaConsulta::para(Consulta::Movimento, m.movimento(), *destinos[2])
                                        : VerificacaoDaConsulta::para(k == 0 ? Consulta::Vendas : Consulta::Compras,
                                                                      m.saidas(), *destinos[k]);
        RepasseParaOutraThread repasse(*verificacao);
        const bool lido = leColunasAceitas([&] {
            if (k == 2)
                m.LeMovimento(periodo.DataInicial, periodo.DataFinal, repasse);
            else
                m.LeSaidas(k == 0 ? "S" : "E", periodo.DataInicial, periodo.DataFinal, empresa, repasse);
        });
        if (!lido) return;
        repasse.termina();
        verificacao->termina();
    };
    std::unique_ptr<ConsultaParalela> outras[2];
    try {
        // Attached before any reads; a cancel stops all three.
        for (auto& o : outras)
            if (novoModulo)
                o = std::make_unique<ConsultaParalela>(dm, novoModulo, ConsultaParalela::Cancelamento::SempreJunto);
    } catch (const DbError&) {
        // A server that takes no more attachments: one query after the other on this one.
    }
    if (!outras[0] || !outras[1]) {
        outras[0].reset();
        for (int k = 0; k < 3; ++k) le(dm, k);
        return;
    }
    for (int k = 1; k <= 2; ++k) outras[k - 1]->inicia([&le, k](TFDMExporta& m) { le(m, k); });
    le(dm, 0);
    for (auto& o : outras) o->espera();
}

namespace {
// A query's problems as they are found, its errors apart: what stops the export goes first, and the millions of
// warnings are then moved once, not gone through again to find the errors among them.
struct ErrosEAvisos : DestinoDosProblemas {
    void achou(Problema p) override { (p.gravidade == Gravidade::Erro ? erros : avisos).push_back(std::move(p)); }
    std::deque<Problema> erros, avisos;
};
}  // namespace

ResultadoDaVerificacao Verifica(TFDMExporta& dm, const Periodo& periodo, std::int64_t empresa,
                                const ConsultaParalela::NovoModulo& novoModulo) {
    // Sales, purchases, movements: the errors of each in that order, then the warnings of each.
    ErrosEAvisos achados[3];
    VerificaNosDestinos(dm, periodo, empresa, novoModulo, {&achados[0], &achados[1], &achados[2]});
    ResultadoDaVerificacao r;
    const auto junta = [&r](std::deque<Problema>& parte) {
        r.problemas.insert(r.problemas.end(), std::make_move_iterator(parte.begin()),
                           std::make_move_iterator(parte.end()));
        parte = {};
    };
    for (ErrosEAvisos& a : achados) junta(a.erros);
    r.errosContados = static_cast<int>(r.problemas.size());
    for (ErrosEAvisos& a : achados) junta(a.avisos);
    return r;
}

}  // namespace zorla
