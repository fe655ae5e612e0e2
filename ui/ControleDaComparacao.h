#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "comparacao/ComparacaoDeExportacoes.h"
#include "ui/TrabalhoForaDaJanela.h"

namespace zorla {

// A comparison of two exports off the window's thread: how far it has read, told every tenth of a second, and a
// stop that lets it go. Its end, or the text of its refusal or failure, comes on the window's thread.
class ControleDaComparacao {
public:
    using Resultado = std::shared_ptr<const ResultadoDaComparacao>;
    ControleDaComparacao(QObject* dono, std::function<void(Resultado)> aoTerminar,
                         std::function<void(const QString&)> aoFalhar, std::function<void(int)> aoAndar);

    void inicia(const std::string& antes, const std::string& depois);
    // Nobody takes its end any more; it stops within a few thousand lines or differences.
    void cancela();
    bool pendente() const { return m_trabalho.pendente(); }
    bool rodando() const { return m_trabalho.rodando(); }
    void aoAcabar(std::function<void()> acao) { m_trabalho.aoAcabar(std::move(acao)); }

private:
    std::shared_ptr<AndamentoDaComparacao> m_andamento;
    QTimer m_relogio;
    std::function<void(int)> m_aoAndar;
    TrabalhoForaDaJanela<Resultado> m_trabalho;
};

}  // namespace zorla
