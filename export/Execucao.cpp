#include "export/Execucao.h"

#include "export/ThProcessa.h"
#include "sistema/ArquivosNoDisco.h"
#include "sistema/TravaPasta.h"

namespace zorla {

Execucao::Execucao(std::unique_ptr<TravaPasta> trava, std::unique_ptr<DestinoDosArquivos> disco,
                   std::unique_ptr<ThProcessa> run)
    : m_trava(std::move(trava)), m_disco(std::move(disco)), m_run(std::move(run)) {}

Execucao::~Execucao() { m_run.reset(); }

void Execucao::espera() { m_run->wait(); }

const ResultadoDaExportacao& Execucao::resultado() const { return m_run->resultado(); }

}  // namespace zorla
