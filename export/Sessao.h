#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Periodo.h"
#include "export/ConsultasAntecipadas.h"
#include "export/EventosDaExportacao.h"
#include "export/RunParameters.h"
#include "export/TravaPasta.h"
#include "export/Verificacao.h"
#include "export/VerificacaoParaASaida.h"

namespace zorla {

class TFDMExporta;
class OutputFiles;
class ThProcessa;

struct Empresa {
    std::int64_t codigo = 0;
    std::string fantasia;  // code page 1252
    std::string cnpj;      // code page 1252
};

// The one way the window, the command line and a batch reach a connection: the companies, the consult, the run,
// the check and their cancel. A company the connection does not have is refused (EmpresaNaoEncontrada) before
// anything is consulted or written.
class Sessao {
public:
    explicit Sessao(TFDMExporta& dm) : m_dm(dm) {}

    // The companies of the connection in code order; the first call connects.
    std::vector<Empresa> empresas();
    // Whether the connection has that company, read again from the database.
    bool temEmpresa(std::int64_t codigo);
    // The period's sales of a company: the rows the next run writes into the sales book. The run's other two
    // queries start with it, each on an attachment of its own, and the run of that period and company takes them.
    void consulta(const Periodo& periodo, std::int64_t empresa);
    // A run over the consulted rows, on its worker from now on; it holds the folder until it is destroyed.
    std::unique_ptr<ThProcessa> inicia(const RunParameters& params, EventosDaExportacao& eventos,
                                       const std::atomic<bool>& cancelado, OutputFiles& arquivos, TravaPasta trava);
    // The consult and the run, to their end; the ended run keeps the folder locked until the caller lets it go,
    // so that what the caller writes after it (the totals) is still under the lock.
    std::unique_ptr<ThProcessa> exporta(const RunParameters& params, EventosDaExportacao& eventos,
                                        const std::atomic<bool>& cancelado, OutputFiles& arquivos, TravaPasta trava);
    ResultadoDaVerificacao verifica(const Periodo& periodo, std::int64_t empresa);
    // The check written out as it is read, holding only its errors (the command line's).
    ContagemDaVerificacao verificaParaASaida(const Periodo& periodo, std::int64_t empresa, bool csv,
                                             const Escrita& escreve);
    // From any thread: what runs on the connection, a consult, a check or a run's query, stops and fails.
    void cancela();
    // The queries of a run or a check one after the other on this connection, none on attachments of their own:
    // for a batch whose lines already keep the cores busy.
    void umaConsultaPorVez() { m_paralelo = false; }

private:
    std::unique_ptr<ThProcessa> preparaExecucao(const RunParameters& params, EventosDaExportacao& eventos,
                                                const std::atomic<bool>& cancelado, OutputFiles& arquivos,
                                                TravaPasta trava);
    // A module of its own attachment to the same database, for a query run beside another.
    ConsultaParalela::NovoModulo outroModulo() const;
    TFDMExporta& m_dm;
    bool m_paralelo = true;
    ConsultasAntecipadas m_antecipadas;
};

// The folder as "Continuar" takes it: blanks around it dropped, the path delimiter added when missing.
std::string DiretorioDe(const std::string& pastaDigitada);

// "Aviso: o código '…' tem mais de 4 caracteres; os arquivos levam '…'." when the typed code (UTF-8) is cut in
// the records; nothing when it fits.
std::optional<std::string> AvisoDeCodigoCortado(const std::string& digitado);

// What a run takes when it starts; the company code is code page 1252.
RunParameters ParametrosDaExportacao(const std::string& diretorio, const Periodo& periodo, std::int64_t empresa,
                                     const std::string& codigoEmpresa);

}  // namespace zorla
