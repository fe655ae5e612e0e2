#include "export/Resumo.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>

#include "base/Cp1252.h"
#include "base/TextUtil.h"
#include "base/TextoVisivel.h"
#include "base/Formatacao.h"
#include "export/Csv.h"
#include "export/TabelaDeProblemas.h"

namespace zorla {

namespace {

// The amounts each kind of file holds, with their names.
std::vector<std::pair<const char*, std::int64_t>> montantes(TipoArquivo tipo, const Somas& s) {
    if (!LivroFiscal(tipo)) return {{"VALOR", s.valor}};
    std::vector<std::pair<const char*, std::int64_t>> m = {
        {"VALOR", s.valor}, {"BASEICMS", s.baseIcms}, {"VALORICMS", s.valorIcms}};
    if (tipo == TipoArquivo::LivroSaidas) m.insert(m.end(), {{"BASEIPI", s.baseIpi}, {"VALORIPI", s.valorIpi}});
    return m;
}

std::string linhaDoResumo(TipoArquivo tipo, long registros, const Somas& s) {
    std::string linha = std::to_string(registros) + (LivroFiscal(tipo) ? " registros" : " linhas, " +
                                                                                      std::to_string(s.documentos) +
                                                                                      " movimentos");
    for (const auto& [nome, centavos] : montantes(tipo, s)) linha += "; " + std::string(nome) + " " + ValorFormatado(Decimal{centavos});
    return linha;
}

std::string tipoMostrado(const std::string& tipo) { return tipo.empty() ? "(sem TIPO)" : VisivelCp1252(tipo); }

}  // namespace

std::string TextoDoResumo(const ResultadoDaExportacao& r) {
    std::string texto = "Resumo:\n";
    for (const ArquivoGravado& a : r.arquivos) {
        texto += "  " + nomeDoArquivo(a.caminho) + ": " + linhaDoResumo(a.tipo, a.linhas, a.somas) + "\n";
        for (const auto& [tipo, somas] : a.porTipo)
            texto += "    " + tipoMostrado(tipo) + ": " + linhaDoResumo(a.tipo, somas.documentos, somas) + "\n";
    }
    for (const std::string& apagado : r.apagados) texto += "  " + nomeDoArquivo(apagado) + ": " + kApagado + "\n";
    return texto;
}

namespace {
// The rows of one run's totals, each after the given leading fields.
std::string linhasDoResumo(const ResultadoDaExportacao& r, const std::vector<std::string>& antes) {
    std::string csv;
    auto linha = [&](const ArquivoGravado& a, const std::string& tipo, long registros, const Somas& s) {
        std::vector<std::string> campos = antes;
        campos.insert(campos.end(), {nomeDoArquivo(a.caminho), tipo, std::to_string(registros), "", "", "", "", ""});
        const char* const nomes[] = {"VALOR", "BASEICMS", "VALORICMS", "BASEIPI", "VALORIPI"};
        for (const auto& [nome, centavos] : montantes(a.tipo, s))
            campos[antes.size() + 3 + static_cast<std::size_t>(std::find(std::begin(nomes), std::end(nomes),
                                                                         std::string_view(nome)) - nomes)] =
                ValorParaPlanilha(Decimal{centavos});
        csv += LinhaCsv(campos);
    };
    for (const ArquivoGravado& a : r.arquivos) {
        linha(a, "", a.linhas, a.somas);
        for (const auto& [tipo, somas] : a.porTipo) linha(a, tipoMostrado(tipo), somas.documentos, somas);
    }
    return csv;
}

const std::vector<std::string> kColunasDoResumo = {"Arquivo",   "TIPO",    "Registros", "VALOR",
                                                   "BASEICMS", "VALORICMS", "BASEIPI", "VALORIPI"};
}  // namespace

std::string CsvDoResumo(const ResultadoDaExportacao& r) { return LinhaCsv(kColunasDoResumo) + linhasDoResumo(r, {}); }

std::vector<std::string> CamposDaLinhaDoLote(const LinhaDoLote& l) {
    return {std::to_string(l.linha), l.conexao, std::to_string(l.empresa)};
}

std::string CsvDoResumoDoLote(const std::vector<std::pair<LinhaDoLote, const ResultadoDaExportacao*>>& linhas) {
    std::vector<std::string> titulos(kColunasDaLinhaDoLote.begin(), kColunasDaLinhaDoLote.end());
    titulos.insert(titulos.end(), kColunasDoResumo.begin(), kColunasDoResumo.end());
    std::string csv = LinhaCsv(titulos);
    for (const auto& [linha, r] : linhas) csv += linhasDoResumo(*r, CamposDaLinhaDoLote(linha));
    return csv;
}

void TabelaDaVerificacao(const ResultadoDaVerificacao& r, const Escrita& escreve) {
    TabelaDeProblemas tabela;
    for (const Problema& p : r.problemas) tabela.mede(p);
    escreve(tabela.cabecalho());
    for (const Problema& p : r.problemas) escreve(tabela.linha(p));
    escreve(ContagemDosProblemas(r) + "\n");
}

namespace {
// The title line, or a problem's line, after the columns that name a batch's line.
template <class Campos>
std::string linhaDaVerificacao(std::span<const std::string> antes, const Campos& campos) {
    std::array<std::string_view, kColunasDaLinhaDoLote.size() + kColunasDoProblema.size()> linha;
    std::size_t n = 0;
    for (const std::string& c : antes) linha[n++] = c;
    for (std::string_view c : campos) linha[n++] = c;
    return LinhaCsv(std::span<const std::string_view>(linha.data(), n));
}
}  // namespace

void CsvDaVerificacaoDoLote(const std::vector<std::pair<LinhaDoLote, const ResultadoDaVerificacao*>>& linhas,
                            const Escrita& escreve) {
    const std::vector<std::string> titulos(kColunasDaLinhaDoLote.begin(), kColunasDaLinhaDoLote.end());
    escreve(linhaDaVerificacao(titulos, kColunasDoProblema));
    for (const auto& [linha, r] : linhas) {
        const std::vector<std::string> antes = CamposDaLinhaDoLote(linha);
        for (const Problema& p : r->problemas) escreve(linhaDaVerificacao(antes, ColunasDoProblema(p)));
    }
}

void CsvDaVerificacao(const ResultadoDaVerificacao& r, const Escrita& escreve) {
    escreve(CabecalhoCsvDaVerificacao());
    for (const Problema& p : r.problemas) escreve(LinhaCsvDoProblema(p));
}

std::string CabecalhoCsvDaVerificacao() { return linhaDaVerificacao({}, kColunasDoProblema); }

std::string LinhaCsvDoProblema(const Problema& p) { return linhaDaVerificacao({}, ColunasDoProblema(p)); }

namespace {
template <class Gera>
std::string juntado(Gera gera) {
    std::string tudo;
    gera([&tudo](std::string_view parte) { tudo += parte; });
    return tudo;
}
}  // namespace

std::string TabelaDaVerificacao(const ResultadoDaVerificacao& r) {
    return juntado([&](const Escrita& e) { TabelaDaVerificacao(r, e); });
}

std::string CsvDaVerificacao(const ResultadoDaVerificacao& r) {
    return juntado([&](const Escrita& e) { CsvDaVerificacao(r, e); });
}

}  // namespace zorla
