#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "comparacao/ComparacaoDeExportacoes.h"
#include "conferencia/ConferenciaDeArquivos.h"
#include "ui/Dialogs.h"
#include "verificacao/Verificacao.h"

namespace zorla::test {

// Records every box instead of showing it and closes it at once, or when the test says so.
class RecordingDialogs : public Dialogs {
public:
    struct Box {
        QString texto, titulo;
        MessageIcon icone;
    };
    std::vector<Box> boxes;
    bool holdBoxes = false;
    std::vector<std::function<void()>> waiting;
    QString pastaEscolhida;
    QStringList exportadosEscolhidos;
    QString arquivoEscolhido;    // where "Salvar…" saves, when the test asks it to
    bool salvaAoFechar = false;  // the operator presses "Salvar…"
    QString ultimosDetalhes;
    std::vector<std::shared_ptr<const ResultadoDaVerificacao>> verificacoes;

    void mensagem(QWidget*, const QString& texto, const QString& titulo, MessageIcon icone,
                  std::function<void()> aoFechar) override {
        boxes.push_back({texto, titulo, icone});
        if (!aoFechar) return;
        if (holdBoxes)
            waiting.push_back(std::move(aoFechar));
        else
            aoFechar();
    }
    bool responde = true;       // the operator's answer to a question
    bool simPorPadrao = false;  // the last question's default answer
    void pergunta(QWidget*, const QString& texto, const QString& titulo, bool padrao,
                  std::function<void()> aoConfirmar) override {
        boxes.push_back({texto, titulo, MessageIcon::Information});
        simPorPadrao = padrao;
        if (responde && aoConfirmar) aoConfirmar();
    }
    void mensagemComDetalhes(QWidget*, const QString& texto, const QString& titulo, const QString& detalhes,
                             std::function<void()> aoSalvar, std::function<void()> aoFechar) override {
        boxes.push_back({texto, titulo, MessageIcon::Information});
        ultimosDetalhes = detalhes;
        if (salvaAoFechar && aoSalvar) aoSalvar();
        if (aoFechar) aoFechar();
    }
    void verificacao(QWidget*, std::shared_ptr<const ResultadoDaVerificacao> resultado,
                     std::function<void()> aoSalvar) override {
        verificacoes.push_back(std::move(resultado));
        if (salvaAoFechar) aoSalvar();
    }
    std::vector<std::shared_ptr<const std::vector<ArquivoConferido>>> conferencias;
    void conferencia(QWidget*, std::shared_ptr<const std::vector<ArquivoConferido>> arquivos) override {
        conferencias.push_back(std::move(arquivos));
    }
    long linhaPedida = 0;  // the operator's answer to "Ir para a linha…"
    void pedeLinha(QWidget*, long, std::function<void(long)> aoEscolher) override {
        if (linhaPedida > 0) aoEscolher(linhaPedida);
    }
    void escolhePasta(QWidget*, const QString&, std::function<void(const QString&)> aoEscolher) override {
        if (!pastaEscolhida.isEmpty()) aoEscolher(pastaEscolhida);
    }
    void escolheExportados(QWidget*, const QString&, std::function<void(const QStringList&)> aoEscolher) override {
        if (!exportadosEscolhidos.isEmpty()) aoEscolher(exportadosEscolhidos);
    }
    void escolheArquivo(QWidget*, const QString&, std::function<void(const QString&)> aoEscolher) override {
        if (!arquivoEscolhido.isEmpty()) aoEscolher(arquivoEscolhido);
    }
    QString comparacaoAntes, comparacaoDepois;  // the operator's two exports to compare
    void escolheComparacao(QWidget*, const QString&,
                           std::function<void(const QString&, const QString&)> aoEscolher) override {
        if (!comparacaoAntes.isEmpty()) aoEscolher(comparacaoAntes, comparacaoDepois);
    }
    std::vector<std::shared_ptr<const ResultadoDaComparacao>> comparacoes;
    void comparacao(QWidget*, std::shared_ptr<const ResultadoDaComparacao> resultado,
                    std::function<void()> aoSalvar) override {
        comparacoes.push_back(std::move(resultado));
        if (salvaAoFechar) aoSalvar();
    }
    void closeAll() {
        auto w = std::move(waiting);
        for (auto& f : w) f();
    }
    QStringList texts() const {
        QStringList out;
        for (const auto& b : boxes) out << b.texto;
        return out;
    }
};

}  // namespace zorla::test
