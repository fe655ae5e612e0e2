#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Periodo.h"
#include "export/RunParameters.h"

namespace zorla {

class TFDMExporta;

struct Empresa {
    std::int64_t codigo = 0;
    std::string fantasia;  // code page 1252
    std::string cnpj;      // code page 1252
};

// The rules the window and the command line share: the companies, the consult, the output folder and the run's
// parameters.
class Sessao {
public:
    explicit Sessao(TFDMExporta& dm) : m_dm(dm) {}

    // The companies of the connection in code order; the first call connects.
    std::vector<Empresa> empresas();
    // Whether the connection has that company.
    bool temEmpresa(std::int64_t codigo);
    // The period's sales of a company: the rows the next run writes into the sales book.
    void consulta(const Periodo& periodo, std::int64_t empresa);
    // From any thread: a consult under way is stopped on the server and fails.
    void cancelaConsulta();

private:
    TFDMExporta& m_dm;
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
