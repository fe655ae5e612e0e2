#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace zorla {

enum class MessageIcon { Information, Warning, Error };
struct ResultadoDaVerificacao;
struct ArquivoConferido;
struct ResultadoDaComparacao;

// Every box the window shows goes through here, so tests never wait on a modal box. Boxes are opened
// window-modal and answered through the callback: the window's thread never blocks on them.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void mensagem(QWidget* parent, const QString& texto, const QString& titulo, MessageIcon icone,
                          std::function<void()> aoFechar) = 0;
    // A question answered "Sim" or "Não", the default one as given; aoConfirmar only for "Sim".
    virtual void pergunta(QWidget* parent, const QString& texto, const QString& titulo, bool simPorPadrao,
                          std::function<void()> aoConfirmar) = 0;
    // A box with details shown on asking ("Mostrar detalhes…") and a "Salvar…" button that closes it and saves.
    virtual void mensagemComDetalhes(QWidget* parent, const QString& texto, const QString& titulo,
                                     const QString& detalhes, std::function<void()> aoSalvar,
                                     std::function<void()> aoFechar) = 0;
    // The check's result; aoSalvar when the operator asks for it as a CSV file.
    virtual void verificacao(QWidget* parent, std::shared_ptr<const ResultadoDaVerificacao> resultado,
                             std::function<void()> aoSalvar) = 0;
    // Exported files read back, in their own window.
    virtual void conferencia(QWidget* parent, std::shared_ptr<const std::vector<ArquivoConferido>> arquivos) = 0;
    // A line number from 1 to the maximum; not at all when cancelled.
    virtual void pedeLinha(QWidget* parent, long maximo, std::function<void(long)> aoEscolher) = 0;
    // Calls back with the chosen folder; not at all when the chooser is cancelled.
    virtual void escolhePasta(QWidget* parent, const QString& inicial,
                              std::function<void(const QString&)> aoEscolher) = 0;
    // Calls back with the exported files chosen in a folder: one, several, or all of them.
    virtual void escolheExportados(QWidget* parent, const QString& inicial,
                                   std::function<void(const QStringList&)> aoEscolher) = 0;
    // Calls back with the file chosen to save into; not at all when cancelled.
    virtual void escolheArquivo(QWidget* parent, const QString& sugestao,
                                std::function<void(const QString&)> aoEscolher) = 0;
    // The two exports to compare, each a folder or a file: before, then after; not at all when cancelled.
    virtual void escolheComparacao(QWidget* parent, const QString& inicial,
                                   std::function<void(const QString&, const QString&)> aoEscolher) = 0;
    // A comparison's differences, in their own window; aoSalvar when the operator asks for them as CSV.
    virtual void comparacao(QWidget* parent, std::shared_ptr<const ResultadoDaComparacao> resultado,
                            std::function<void()> aoSalvar) = 0;
};

class QtDialogs : public Dialogs {
public:
    void mensagem(QWidget* parent, const QString& texto, const QString& titulo, MessageIcon icone,
                  std::function<void()> aoFechar) override;
    void pergunta(QWidget* parent, const QString& texto, const QString& titulo, bool simPorPadrao,
                  std::function<void()> aoConfirmar) override;
    void mensagemComDetalhes(QWidget* parent, const QString& texto, const QString& titulo, const QString& detalhes,
                             std::function<void()> aoSalvar, std::function<void()> aoFechar) override;
    void verificacao(QWidget* parent, std::shared_ptr<const ResultadoDaVerificacao> resultado,
                     std::function<void()> aoSalvar) override;
    void conferencia(QWidget* parent, std::shared_ptr<const std::vector<ArquivoConferido>> arquivos) override;
    void pedeLinha(QWidget* parent, long maximo, std::function<void(long)> aoEscolher) override;
    void escolhePasta(QWidget* parent, const QString& inicial, std::function<void(const QString&)> aoEscolher) override;
    void escolheExportados(QWidget* parent, const QString& inicial,
                           std::function<void(const QStringList&)> aoEscolher) override;
    void escolheArquivo(QWidget* parent, const QString& sugestao,
                        std::function<void(const QString&)> aoEscolher) override;
    void escolheComparacao(QWidget* parent, const QString& inicial,
                           std::function<void(const QString&, const QString&)> aoEscolher) override;
    void comparacao(QWidget* parent, std::shared_ptr<const ResultadoDaComparacao> resultado,
                    std::function<void()> aoSalvar) override;
};

}  // namespace zorla
