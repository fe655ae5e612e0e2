#include "export/Resumo.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>

#include "base/Caminho.h"
#include "base/Cp1252.h"
#include "base/Csv.h"
#include "base/Formatacao.h"
#include "base/TextUtil.h"
#include "base/TextoVisivel.h"

namespace zorla {

namespace {

std::string linhaDoResumo(TipoArquivo tipo, long registros, const Somas& s) {
    std::string linha = LivroFiscal(tipo) ? Quantidade(registros, "registro", "registros")
                                          : Quantidade(registros, "linha", "linhas") + ", " +
                                                Quantidade(s.documentos, "movimento", "movimentos");
    for (const auto& [nome, centavos] : MontantesDoArquivo(tipo, s))
        linha += "; " + std::string(nome) + " " + ValorFormatado(Decimal{centavos});
    return linha;
}

std::string tipoMostrado(const std::string& tipo) { return tipo.empty() ? "(sem TIPO)" : VisivelCp1252(tipo); }

}  // namespace

std::string TextoDaSubstituicao(const ArquivoGravado& a) {
    if (!a.substituido) return {};
    if (!a.diferenca) return "substituído";
    const DiferencaDoAnterior& d = *a.diferenca;
    return "substituído: " + Quantidade(d.alterados, "alterado", "alterados") + ", " +
           Quantidade(d.removidos, "removido", "removidos") + ", " + Quantidade(d.novos, "novo", "novos");
}

std::string TextoDoResumo(const ResultadoDaExportacao& r) {
    std::string texto = "Resumo:\n";
    for (const ArquivoGravado& a : r.arquivos) {
        texto += "  " + Visivel(NomeDoArquivo(a.caminho)) +
                 (a.substituido ? " (" + TextoDaSubstituicao(a) + ")" : std::string()) + ": " +
                 linhaDoResumo(a.tipo, a.linhas, a.somas) + "\n";
        for (const auto& [tipo, somas] : a.porTipo)
            texto += "    " + tipoMostrado(tipo) + ": " + linhaDoResumo(a.tipo, somas.documentos, somas) + "\n";
    }
    for (const std::string& apagado : r.apagados)
        texto += "  " + Visivel(NomeDoArquivo(apagado)) + ": " + kApagado + "\n";
    return texto;
}

std::string LinhasCsvDoResumo(const ResultadoDaExportacao& r, const std::vector<std::string>& antes) {
    std::string csv;
    auto linha = [&](const ArquivoGravado& a, const std::string& tipo, long registros, const Somas& s) {
        std::vector<std::string> campos = antes;
        campos.insert(campos.end(), {NomeDoArquivo(a.caminho), tipo, std::to_string(registros), "", "", "", "", ""});
        const char* const nomes[] = {"VALOR", "BASEICMS", "VALORICMS", "BASEIPI", "VALORIPI"};
        for (const auto& [nome, centavos] : MontantesDoArquivo(a.tipo, s))
            campos[antes.size() + 3 +
                   static_cast<std::size_t>(std::find(std::begin(nomes), std::end(nomes), std::string_view(nome)) -
                                            nomes)] = ValorParaPlanilha(Decimal{centavos});
        csv += LinhaCsv(campos);
    };
    for (const ArquivoGravado& a : r.arquivos) {
        linha(a, "", a.linhas, a.somas);
        for (const auto& [tipo, somas] : a.porTipo) linha(a, tipoMostrado(tipo), somas.documentos, somas);
    }
    return csv;
}

const std::vector<std::string> kColunasDoResumo = {"Arquivo",  "TIPO",      "Registros", "VALOR",
                                                   "BASEICMS", "VALORICMS", "BASEIPI",   "VALORIPI"};

std::string CsvDoResumo(const ResultadoDaExportacao& r) {
    return LinhaCsv(kColunasDoResumo) + LinhasCsvDoResumo(r, {});
}

}  // namespace zorla
