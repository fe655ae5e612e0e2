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

// The amounts each kind of file holds, with their names.
std::vector<std::pair<const char*, std::int64_t>> montantes(TipoArquivo tipo, const Somas& s) {
    if (!LivroFiscal(tipo)) return {{"VALOR", s.valor}};
    std::vector<std::pair<const char*, std::int64_t>> m = {
        {"VALOR", s.valor}, {"BASEICMS", s.baseIcms}, {"VALORICMS", s.valorIcms}};
    if (tipo == TipoArquivo::LivroSaidas) m.insert(m.end(), {{"BASEIPI", s.baseIpi}, {"VALORIPI", s.valorIpi}});
    return m;
}

std::string linhaDoResumo(TipoArquivo tipo, long registros, const Somas& s) {
    std::string linha = LivroFiscal(tipo) ? Quantidade(registros, "registro", "registros")
                                          : Quantidade(registros, "linha", "linhas") + ", " +
                                                Quantidade(s.documentos, "movimento", "movimentos");
    for (const auto& [nome, centavos] : montantes(tipo, s))
        linha += "; " + std::string(nome) + " " + ValorFormatado(Decimal{centavos});
    return linha;
}

std::string tipoMostrado(const std::string& tipo) { return tipo.empty() ? "(sem TIPO)" : VisivelCp1252(tipo); }

}  // namespace

std::string TextoDoResumo(const ResultadoDaExportacao& r) {
    std::string texto = "Resumo:\n";
    for (const ArquivoGravado& a : r.arquivos) {
        texto += "  " + Visivel(NomeDoArquivo(a.caminho)) + (a.substituido ? " (substituído)" : "") + ": " +
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
        for (const auto& [nome, centavos] : montantes(a.tipo, s))
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
