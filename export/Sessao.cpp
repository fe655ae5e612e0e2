#include "export/Sessao.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "base/Cp1252.h"
#include "base/TextUtil.h"
#include "data/DMVantero.h"
#include "export/EmpresaNaoEncontrada.h"
#include "export/ThProcessa.h"

namespace zorla {

std::vector<Empresa> Sessao::empresas() {
    ClientDataSet& lista = m_dm.AbreEmpresas();
    const int codigo = lista.fieldIndex("CODEMPRESA"), fantasia = lista.fieldIndex("FANTASIA"),
              cnpj = lista.fieldIndex("CNPJ");
    std::vector<Empresa> out;
    for (lista.first(); !lista.eof(); lista.next())
        out.push_back(Empresa{FieldRef(lista, codigo).asInteger(), FieldRef(lista, fantasia).asString(),
                              FieldRef(lista, cnpj).asString()});
    lista.first();
    return out;
}

void Sessao::consulta(const Periodo& periodo, std::int64_t empresa) {
    if (!temEmpresa(empresa)) throw EmpresaNaoEncontrada(empresa);
    m_antecipadas = {};
    // Attached before the sales are fetched: opening one while another fetches stalls.
    if (m_paralelo)
        m_antecipadas =
            ConsultasAntecipadas::inicia(m_dm, outroModulo(), periodo.DataInicial, periodo.DataFinal, empresa);
    try {
        m_dm.ConsultaSaidas("S", periodo.DataInicial, periodo.DataFinal, empresa);
    } catch (...) {
        m_antecipadas = {};
        throw;
    }
}

std::unique_ptr<ThProcessa> Sessao::inicia(const RunParameters& params, EventosDaExportacao& eventos,
                                           const std::atomic<bool>& cancelado, OutputFiles& arquivos,
                                           TravaPasta trava) {
    auto run = preparaExecucao(params, eventos, cancelado, arquivos, std::move(trava));
    run->usaConsultas(std::exchange(m_antecipadas, {}));
    run->start();
    return run;
}

std::unique_ptr<ThProcessa> Sessao::preparaExecucao(const RunParameters& params, EventosDaExportacao& eventos,
                                                    const std::atomic<bool>& cancelado, OutputFiles& arquivos,
                                                    TravaPasta trava) {
    auto run = std::make_unique<ThProcessa>(m_dm, eventos, cancelado, params, arquivos);
    run->mantemTrava(std::move(trava));
    run->emParalelo(outroModulo());
    return run;
}

ConsultaParalela::NovoModulo Sessao::outroModulo() const {
    if (!m_paralelo) return {};
    return [arquivo = m_dm.connectionFile()] {
        auto dm = std::make_unique<TFDMExporta>(arquivo);
        dm->Conecta();
        return dm;
    };
}

std::unique_ptr<ThProcessa> Sessao::exporta(const RunParameters& params, EventosDaExportacao& eventos,
                                            const std::atomic<bool>& cancelado, OutputFiles& arquivos,
                                            TravaPasta trava) {
    if (!temEmpresa(params.empresa)) throw EmpresaNaoEncontrada(params.empresa);
    auto run = preparaExecucao(params, eventos, cancelado, arquivos, std::move(trava));
    // The purchases and the movements are fetched on their own attachments while the sales are, and the sales book
    // is written as its rows arrive.
    run->antecipaConsultas();
    run->leVendasAoGravar();
    run->start();
    run->wait();
    return run;
}

ResultadoDaVerificacao Sessao::verifica(const Periodo& periodo, std::int64_t empresa) {
    if (!temEmpresa(empresa)) throw EmpresaNaoEncontrada(empresa);
    return Verifica(m_dm, periodo, empresa, outroModulo());
}

ContagemDaVerificacao Sessao::verificaParaASaida(const Periodo& periodo, std::int64_t empresa, bool csv,
                                                 const Escrita& escreve) {
    if (!temEmpresa(empresa)) throw EmpresaNaoEncontrada(empresa);
    return VerificaParaASaida(m_dm, periodo, empresa, outroModulo(), csv, escreve);
}

bool Sessao::temEmpresa(std::int64_t codigo) {
    const std::vector<Empresa> lista = empresas();
    return std::any_of(lista.begin(), lista.end(), [codigo](const Empresa& e) { return e.codigo == codigo; });
}

void Sessao::cancela() { m_dm.cancela(); }

std::string DiretorioDe(const std::string& pastaDigitada) {
    std::string d(trimControl(pastaDigitada));
    const char sep = static_cast<char>(std::filesystem::path::preferred_separator);
    if (d.empty() || d.back() != sep) d += sep;
    return d;
}

std::optional<std::string> AvisoDeCodigoCortado(const std::string& digitado) {
    const std::string cp1252 = utf8ToCp1252(digitado);
    if (cp1252.size() <= 4) return std::nullopt;
    return "Aviso: o código '" + digitado + "' tem mais de 4 caracteres; os arquivos levam '" +
           cp1252ToUtf8(cp1252.substr(0, 4)) + "'.";
}

RunParameters ParametrosDaExportacao(const std::string& diretorio, const Periodo& periodo, std::int64_t empresa,
                                     const std::string& codigoEmpresa) {
    RunParameters p;
    p.Diretorio = diretorio;
    p.NomeArquivo = periodo.NomeArquivo;
    p.DataInicial = periodo.DataInicial;
    p.DataFinal = periodo.DataFinal;
    p.empresa = static_cast<int>(empresa);
    p.codigoEmpresa = codigoEmpresa;
    return p;
}

}  // namespace zorla
