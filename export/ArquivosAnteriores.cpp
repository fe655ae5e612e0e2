#include "export/ArquivosAnteriores.h"

#include <algorithm>
#include <filesystem>

#include "base/ArquivoParaLer.h"
#include "base/Caminho.h"
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

std::time_t gravadoEm(const std::string& caminho) {
    std::error_code ec;
    const auto quando = fs::last_write_time(CaminhoDoSistema(caminho), ec);
    if (ec) return 0;
    return std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(quando));
}

ArquivoAnterior::Conteudo julga(const ConferenciaDoArquivo& c, const ParametrosDaExecucao& p) {
    using C = ArquivoAnterior::Conteudo;
    if (c.totais.linhas == 0) return C::Vazio;
    if (c.totalDeProblemas > 0) return C::NaoExportado;
    const bool doPeriodo = !c.primeiraData || (*c.primeiraData <= p.DataFinal && *c.ultimaData >= p.DataInicial);
    const std::string codigo = codigoEscrito(p.CodigoEmpresa);
    const bool daEmpresa =
        std::all_of(c.empresas.begin(), c.empresas.end(), [&](const std::string& e) { return e == codigo; });
    return doPeriodo && daEmpresa ? C::DestaExportacao : C::DeOutraExportacao;
}

std::string quando(std::time_t momento, const char* gravado) {
    return momento == 0 ? std::string() : " (" + std::string(gravado) + " em " + DataHoraLocal(momento) + ")";
}

// Another export's files as one: the month of its latest movement, its companies, its latest file.
std::string aExportacao(const std::vector<const ArquivoAnterior*>& arquivos) {
    std::optional<Date> ultima;
    std::vector<std::string> empresas;
    std::time_t gravada = 0;
    for (const ArquivoAnterior* a : arquivos) {
        if (a->ultimaData && (!ultima || *a->ultimaData > *ultima)) ultima = a->ultimaData;
        for (const std::string& e : a->empresas)
            if (std::find(empresas.begin(), empresas.end(), e) == empresas.end()) empresas.push_back(e);
        gravada = std::max(gravada, a->gravadoEm);
    }
    std::string texto = "a exportação" + (ultima ? " de " + MesEAno(*ultima) : std::string());
    for (std::size_t i = 0; i < empresas.size(); ++i)
        texto +=
            (i == 0 ? (empresas.size() == 1 ? " da empresa " : " das empresas ") : ", ") + VisivelCp1252(empresas[i]);
    return texto + quando(gravada, "gravada");
}

}  // namespace

std::vector<ArquivoAnterior> ExaminaArquivosAnteriores(const ParametrosDaExecucao& params, bool comRegistros) {
    std::vector<ArquivoAnterior> anteriores;
    for (TipoArquivo tipo : kTiposDeArquivo) {
        ArquivoAnterior a;
        a.tipo = tipo;
        a.caminho = CaminhoDoArquivo(tipo, params.Diretorio, params.NomeArquivo);
        std::error_code ec;
        if (!fs::is_regular_file(fs::symlink_status(CaminhoDoSistema(a.caminho), ec))) continue;
        a.gravadoEm = gravadoEm(a.caminho);
        try {
            // One reading: the file checked, and its records' identities kept for when it is replaced.
            const ArquivoParaLer arquivo(a.caminho, kTamanhoMaximoDoExportado, "O arquivo");
            std::optional<ColetorDeRegistros> coletor;
            if (comRegistros) coletor.emplace(tipo, arquivo.tamanho());
            const ConferenciaDoArquivo lido =
                ConfereVendoAsLinhas(arquivo, tipo, [&](long n, std::string_view linha, std::uint64_t inicio) {
                    if (coletor) coletor->linha(n, linha, inicio);
                });
            a.conteudo = julga(lido, params);
            if (coletor && a.substituivel())
                a.registros = std::make_shared<const std::vector<RegistroComparavel>>(coletor->termina());
            a.primeiraData = lido.primeiraData;
            a.ultimaData = lido.ultimaData;
            a.empresas = lido.empresas;
        } catch (const std::exception&) {
            a.conteudo = ArquivoAnterior::Conteudo::NaoExportado;
        }
        anteriores.push_back(std::move(a));
    }
    return anteriores;
}

std::string DescreveOsAlheios(const std::vector<ArquivoAnterior>& anteriores) {
    std::vector<const ArquivoAnterior*> daOutra;
    std::string texto;
    for (const ArquivoAnterior& a : anteriores) {
        if (a.conteudo == ArquivoAnterior::Conteudo::DeOutraExportacao) daOutra.push_back(&a);
        if (a.conteudo != ArquivoAnterior::Conteudo::NaoExportado) continue;
        texto += (texto.empty() ? "" : ", ") + std::string("o arquivo ") + NomeDoArquivo(a.caminho) +
                 quando(a.gravadoEm, "gravado") + ", que não é o de uma exportação";
    }
    if (daOutra.empty()) return texto;
    return aExportacao(daOutra) + (texto.empty() ? "" : ", e " + texto);
}

OuRecusa<void> AceitaOsAnteriores(const std::vector<ArquivoAnterior>& anteriores, const std::string& pasta) {
    const std::string alheios = DescreveOsAlheios(anteriores);
    if (alheios.empty()) return {};
    return Recusa{"A pasta " + pasta + " já tem " + alheios +
                      ". A exportação substituiria seus arquivos: escolha outra pasta, ou peça a substituição (na "
                      "linha de comando, --substituir).",
                  Recusa::Motivo::Pedido, Recusa::Pergunta::Substitui, alheios};
}

}  // namespace zorla
