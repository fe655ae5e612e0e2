#include "export/Pendencias.h"

#include <algorithm>

#include "base/Formatacao.h"
#include "base/TextUtil.h"
#include "base/TextoVisivel.h"

namespace zorla {

namespace {
std::string movimentos(std::size_t n) {
    return Quantidade(static_cast<long long>(n), "movimento gravado", "movimentos gravados");
}

std::string linhaDaPendencia(const Pendencia& p) {
    std::string linha = "  " + (p.data ? DataCurta(*p.data) : std::string("(sem data)"));
    if (const std::string_view doc = trimControl(p.documento); !doc.empty())
        linha += "  documento " + VisivelCp1252(doc);
    linha += "  R$ " + ValorFormatado(Decimal{p.centavos});
    if (const std::string_view parte = trimControl(p.parte); !parte.empty()) linha += "  " + VisivelCp1252(parte);
    return linha + "\n";
}
}  // namespace

std::string TextoDasPendencias(const ResultadoDaExportacao& r) {
    if (r.semConta.empty()) return {};
    std::string texto =
        "Pendências: " + movimentos(r.semConta.size()) + " sem código contábil definido, com a conta em branco:\n";
    for (const Pendencia& p : r.semConta) texto += linhaDaPendencia(p);
    return texto;
}

std::string FraseDasPendencias(const ResultadoDaExportacao& r) {
    if (r.semConta.empty()) return {};
    return "Exportação concluída com pendências: " + movimentos(r.semConta.size()) +
           " sem código contábil definido, com a conta em branco. Defina as contas no ZORLA e exporte de novo.";
}

std::string AvisoDasPendencias(const ResultadoDaExportacao& r) {
    const auto n = static_cast<long long>(r.semConta.size());
    if (n == 0) return {};
    return Quantidade(n, "movimento foi gravado", "movimentos foram gravados") +
           " sem código contábil (conta em branco): veja os detalhes.";
}

std::optional<std::string> AvisoDePeriodoVazio(const ResultadoDaExportacao& r) {
    const bool vazio = !r.arquivos.empty() && std::all_of(r.arquivos.begin(), r.arquivos.end(),
                                                          [](const ArquivoGravado& a) { return a.linhas == 0; });
    if (!vazio) return std::nullopt;
    return "O período não tem documentos nem movimentos: os arquivos gerados estão vazios.";
}

}  // namespace zorla
