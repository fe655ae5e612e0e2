#pragma once

#include <QString>
#include <functional>

#include "export/EventosDaExportacao.h"
#include "ui/Dialogs.h"

namespace zorla {

// What the window shows of a run: the narrow side of the window that the run's host draws on, on the window's
// thread only.
class VisorDaExportacao {
public:
    virtual ~VisorDaExportacao() = default;
    // The processing panel, orange while a run works.
    virtual void mostraProcessamento() = 0;
    virtual void mostraMovimento(const QString& texto) = 0;
    virtual void mostraArquivo(const QString& texto) = 0;
    virtual void mostraGauge(int maximo, int posicao) = 0;
    virtual void mostraTitulo(const QString& titulo) = 0;
    // A box the run waits on; aoFechar runs once the operator has closed it.
    virtual void mostraAviso(const QString& texto, MessageIcon icone, std::function<void()> aoFechar) = 0;
    // The run's last event, once everything before it is shown.
    virtual void exportacaoTerminou(const ResultadoDaExportacao& resultado) = 0;
};

}  // namespace zorla
