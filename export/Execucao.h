#pragma once

#include <memory>

#include "export/EventosDaExportacao.h"

namespace zorla {

class DestinoDosArquivos;
class ThProcessa;
class TravaPasta;

// A run under way, or ended: what a front end holds of it. It keeps the output folder locked until it is let go, so
// that what the caller writes after the run (the totals) is still under the lock.
class Execucao {
public:
    // `disco`, where the run writes, when it is the run's own.
    Execucao(std::unique_ptr<TravaPasta> trava, std::unique_ptr<DestinoDosArquivos> disco,
             std::unique_ptr<ThProcessa> run);
    ~Execucao();  // waits for the run, then lets the folder go
    Execucao(const Execucao&) = delete;
    Execucao& operator=(const Execucao&) = delete;

    void espera();
    // Valid once the run has ended.
    const ResultadoDaExportacao& resultado() const;

private:
    std::unique_ptr<TravaPasta> m_trava;
    std::unique_ptr<DestinoDosArquivos> m_disco;
    std::unique_ptr<ThProcessa> m_run;
};

}  // namespace zorla
