#pragma once

#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Recusa.h"
#include "base/Value.h"
#include "comparacao/ColetorDeRegistros.h"
#include "export/ParametrosDaExecucao.h"
#include "leiaute/TipoArquivo.h"

namespace zorla {

// A file under one of a run's five names that the folder already holds, read back before anything is written.
struct ArquivoAnterior {
    enum class Conteudo {
        Vazio,              // nothing in it
        DestaExportacao,    // this period's and this company's: the ordinary export again, after corrections
        DeOutraExportacao,  // another period's or company's
        NaoExportado,       // not what an export writes, or not to be read
    };
    TipoArquivo tipo = TipoArquivo::LivroSaidas;
    std::string caminho;
    Conteudo conteudo = Conteudo::Vazio;
    // What its records say: the first and last date of its movements, the company codes of a book's records.
    std::optional<Date> primeiraData, ultimaData;
    std::vector<std::string> empresas;  // code page 1252
    std::time_t gravadoEm = 0;
    // Of a file the run may replace: its records' identities, for what the run will change in it.
    std::shared_ptr<const std::vector<RegistroComparavel>> registros;

    // What the run may replace without asking: an empty file, or one of its own export.
    bool substituivel() const { return conteudo == Conteudo::Vazio || conteudo == Conteudo::DestaExportacao; }
};

// The files the folder holds under the run's names, each read back; a name without a file is left out. A file holds
// this export when its dates meet the run's period (a purchase may be dated before it) and its records carry the
// run's company code. Without `comRegistros`, only what they are: no file's records are kept.
std::vector<ArquivoAnterior> ExaminaArquivosAnteriores(const ParametrosDaExecucao& params, bool comRegistros = true);

// What the folder holds that the run would replace unasked, as a person reads it: "a exportação de março/2025 da
// empresa 0001 (gravada em 09/12/2026 10:31)", and each file that is no export; empty when there is none.
std::string DescreveOsAlheios(const std::vector<ArquivoAnterior>& anteriores);
// Refused, with the question for the window, when the run would replace what it may not unasked.
OuRecusa<void> AceitaOsAnteriores(const std::vector<ArquivoAnterior>& anteriores, const std::string& pasta);

}  // namespace zorla
