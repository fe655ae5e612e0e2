#include "export/ArquivosAnteriores.h"

#include <filesystem>
#include <set>

#include "base/Caminho.h"
#include "base/Cp1252.h"
#include "base/Formatacao.h"
#include "base/Periodo.h"
#include "base/TextoVisivel.h"
#include "conferencia/ConferenciaDeArquivos.h"

namespace zorla {

namespace {

namespace fs = std::filesystem;

// The company code as the records write it: its first four characters, a control character as a blank, the blanks
// after it dropped.
std::string codigoEscrito(std::string_view codigo) {
    std::string c(codigo.substr(0, 4));
    for (char& ch : c)
        if (CaractereDeControle(ch)) ch = ' ';
    return c.substr(0, c.find_last_not_of(' ') + 1);
}

std::string periodoDe(const ConferenciaDoArquivo& c) {
    const Date& de = *c.primeiraData;
    const Date& ate = *c.ultimaData;
    if (de.year() == ate.year() && de.month() == ate.month()) return MesEAno(de);
    return DataCurta(de) + " a " + DataCurta(ate);
}

std::string empresasDe(const ConferenciaDoArquivo& c) {
    if (c.empresas.empty()) return {};
    std::string lista;
    for (const std::string& e : c.empresas) lista += (lista.empty() ? "" : ", ") + VisivelCp1252(e);
    return (c.empresas.size() == 1 ? " da empresa " : " das empresas ") + lista;
}

std::string gravadoEm(const std::string& caminho) {
    std::error_code ec;
    const auto quando = fs::last_write_time(CaminhoDoSistema(caminho), ec);
    if (ec) return {};
    const auto sistema = std::chrono::file_clock::to_sys(quando);
    return DataHoraLocal(std::chrono::system_clock::to_time_t(sistema));
}

ArquivoAnterior julga(ArquivoAnterior a, const ConferenciaDoArquivo& c, const ParametrosDaExecucao& p) {
    using C = ArquivoAnterior::Conteudo;
    if (c.totais.linhas == 0) {
        a.conteudo = C::Vazio;
        a.oQueTem = "um arquivo vazio";
        return a;
    }
    if (c.totalDeProblemas > 0) {
        a.conteudo = C::NaoExportado;
        a.oQueTem = "um arquivo que não é o de uma exportação";
        return a;
    }
    const bool dataDoPeriodo = !c.primeiraData || (*c.primeiraData >= p.DataInicial && *c.ultimaData <= p.DataFinal);
    const std::string codigo = codigoEscrito(p.CodigoEmpresa);
    const bool daEmpresa =
        std::all_of(c.empresas.begin(), c.empresas.end(), [&](const std::string& e) { return e == codigo; });
    a.conteudo = dataDoPeriodo && daEmpresa ? C::DestaExportacao : C::DeOutraExportacao;
    a.oQueTem = "a exportação" + (c.primeiraData ? " de " + periodoDe(c) : std::string()) + empresasDe(c);
    return a;
}

}  // namespace

std::vector<ArquivoAnterior> ExaminaArquivosAnteriores(const ParametrosDaExecucao& params) {
    std::vector<ArquivoAnterior> anteriores;
    for (TipoArquivo tipo : kTiposDeArquivo) {
        ArquivoAnterior a;
        a.tipo = tipo;
        a.caminho = CaminhoDoArquivo(tipo, params.Diretorio, params.NomeArquivo);
        std::error_code ec;
        if (!fs::is_regular_file(fs::symlink_status(CaminhoDoSistema(a.caminho), ec))) continue;
        a.gravadoEm = gravadoEm(a.caminho);
        try {
            const ConferenciaDoArquivo lido = ConfereArquivo(a.caminho, tipo);
            anteriores.push_back(julga(std::move(a), lido, params));
        } catch (const std::exception&) {
            a.conteudo = ArquivoAnterior::Conteudo::NaoExportado;
            a.oQueTem = "um arquivo que não pôde ser lido";
            anteriores.push_back(std::move(a));
        }
    }
    return anteriores;
}

std::string DescreveOsAlheios(const std::vector<ArquivoAnterior>& anteriores) {
    std::set<std::string> oQue;
    std::vector<const ArquivoAnterior*> alheios;
    for (const ArquivoAnterior& a : anteriores)
        if (!a.substituivel()) alheios.push_back(&a), oQue.insert(a.oQueTem);
    if (alheios.empty()) return {};
    const auto quando = [](const ArquivoAnterior& a, const char* gravado) {
        return a.gravadoEm.empty() ? std::string() : " (" + std::string(gravado) + " em " + a.gravadoEm + ")";
    };
    if (oQue.size() == 1 && alheios.front()->conteudo == ArquivoAnterior::Conteudo::DeOutraExportacao)
        return alheios.front()->oQueTem + quando(*alheios.front(), "gravada");
    std::string texto;
    for (const ArquivoAnterior* a : alheios)
        texto += (texto.empty() ? "" : "; ") + NomeDoArquivo(a->caminho) + ", " + a->oQueTem + quando(*a, "gravado");
    return "estes arquivos: " + texto;
}

OuRecusa<void> AceitaOsAnteriores(const std::vector<ArquivoAnterior>& anteriores, const std::string& pasta) {
    const std::string alheios = DescreveOsAlheios(anteriores);
    if (alheios.empty()) return {};
    return Recusa{"A pasta " + pasta + " já tem " + alheios +
                      ". A exportação os substituiria: escolha outra pasta, ou peça a substituição (na linha de "
                      "comando, --substituir).",
                  Recusa::Motivo::Pedido, Recusa::Pergunta::Substitui, alheios};
}

}  // namespace zorla
