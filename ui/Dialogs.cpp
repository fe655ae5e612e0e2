#include "ui/Dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <algorithm>

#include "leiaute/TipoArquivo.h"
#include "ui/DialogoDeComparacao.h"
#include "ui/JanelaComparacao.h"
#include "ui/JanelaConferencia.h"
#include "ui/JanelaVerificacao.h"

namespace zorla {

namespace {
// A box's text as rich text: a word with a hyphen or a slash (a path, "criá-la") is never broken at it, the line
// breaks (CR, LF, CR LF) are kept, and nothing in it is read as markup.
QString semQuebraNosHifens(const QString& texto) {
    QString html;
    const QStringList linhas = QString(texto)
                                   .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                                   .split(QRegularExpression(QStringLiteral("[\r\n]")));
    for (qsizetype l = 0; l < linhas.size(); ++l) {
        if (l > 0) html += QStringLiteral("<br>");
        const QStringList palavras = linhas[l].split(QLatin1Char(' '));
        for (qsizetype p = 0; p < palavras.size(); ++p) {
            if (p > 0) html += QLatin1Char(' ');
            const QString palavra = palavras[p].toHtmlEscaped();
            const bool quebraria = palavras[p].contains(QLatin1Char('-')) || palavras[p].contains(QLatin1Char('/'));
            html += quebraria ? QStringLiteral("<span style=\"white-space:nowrap\">%1</span>").arg(palavra) : palavra;
        }
    }
    return html;
}

QMessageBox* caixa(QMessageBox::Icon icone, const QString& titulo, const QString& texto,
                   QMessageBox::StandardButtons botoes, QWidget* parent) {
    auto* box = new QMessageBox(icone, titulo, semQuebraNosHifens(texto), botoes, parent);
    box->setTextFormat(Qt::RichText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    return box;
}
}  // namespace

void QtDialogs::mensagem(QWidget* parent, const QString& texto, const QString& titulo, MessageIcon icone,
                         std::function<void()> aoFechar) {
    const QMessageBox::Icon icon = icone == MessageIcon::Error     ? QMessageBox::Critical
                                   : icone == MessageIcon::Warning ? QMessageBox::Warning
                                                                   : QMessageBox::Information;
    auto* box = caixa(icon, titulo, texto, QMessageBox::Ok, parent);
    QObject::connect(box, &QMessageBox::finished, box, [aoFechar = std::move(aoFechar)](int) {
        if (aoFechar) aoFechar();
    });
    box->open();
}

void QtDialogs::pergunta(QWidget* parent, const QString& texto, const QString& titulo, bool simPorPadrao,
                         std::function<void()> aoConfirmar) {
    auto* box = caixa(QMessageBox::Question, titulo, texto, QMessageBox::Yes | QMessageBox::No, parent);
    box->setDefaultButton(simPorPadrao ? QMessageBox::Yes : QMessageBox::No);
    QObject::connect(box, &QMessageBox::finished, box, [aoConfirmar = std::move(aoConfirmar)](int resposta) {
        if (resposta == QMessageBox::Yes && aoConfirmar) aoConfirmar();
    });
    box->open();
}

void QtDialogs::mensagemComDetalhes(QWidget* parent, const QString& texto, const QString& titulo,
                                    const QString& detalhes, std::function<void()> aoSalvar,
                                    std::function<void()> aoFechar) {
    auto* box = caixa(QMessageBox::Information, titulo, texto, QMessageBox::Ok, parent);
    box->setDetailedText(detalhes);
    QPushButton* salvar = box->addButton(QStringLiteral("Salvar…"), QMessageBox::ActionRole);
    QObject::connect(box, &QMessageBox::finished, box,
                     [box, salvar, aoSalvar = std::move(aoSalvar), aoFechar = std::move(aoFechar)](int) {
                         if (box->clickedButton() == salvar && aoSalvar) aoSalvar();
                         if (aoFechar) aoFechar();
                     });
    box->open();
}

void QtDialogs::verificacao(QWidget* parent, std::shared_ptr<const ResultadoDaVerificacao> resultado,
                            std::function<void()> aoSalvar) {
    auto* janela = new JanelaVerificacao(std::move(resultado), std::move(aoSalvar), parent);
    janela->setAttribute(Qt::WA_DeleteOnClose);
    janela->open();
}

void QtDialogs::conferencia(QWidget* parent, std::shared_ptr<const std::vector<ArquivoConferido>> arquivos) {
    auto* janela = new JanelaConferencia(std::move(arquivos), *this, parent);
    janela->setAttribute(Qt::WA_DeleteOnClose);
    janela->open();
}

void QtDialogs::pedeLinha(QWidget* parent, long maximo, std::function<void(long)> aoEscolher) {
    auto* dialog = new QInputDialog(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QStringLiteral("Ir para a linha"));
    dialog->setLabelText(QStringLiteral("Linha (de 1 a %1):").arg(maximo));
    dialog->setInputMode(QInputDialog::IntInput);
    dialog->setIntRange(1, static_cast<int>(std::max(1L, maximo)));
    QObject::connect(dialog, &QInputDialog::intValueSelected, dialog,
                     [aoEscolher = std::move(aoEscolher)](int n) { aoEscolher(n); });
    dialog->open();
}

void QtDialogs::escolhePasta(QWidget* parent, const QString& inicial, std::function<void(const QString&)> aoEscolher) {
    auto* dialog = new QFileDialog(parent, QString(), inicial);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QFileDialog::fileSelected, dialog,
                     [aoEscolher = std::move(aoEscolher)](const QString& pasta) { aoEscolher(pasta); });
    dialog->open();
}

void QtDialogs::escolheExportados(QWidget* parent, const QString& inicial,
                                  std::function<void(const QStringList&)> aoEscolher) {
    auto* dialog =
        new QFileDialog(parent, QStringLiteral("Conferir arquivos (Ctrl+A escolhe todos os da pasta)"), inicial,
                        QStringLiteral("Arquivos exportados (%1)").arg(QString::fromLatin1(kFiltroDosExportados)));
    dialog->setFileMode(QFileDialog::ExistingFiles);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QFileDialog::filesSelected, dialog,
                     [aoEscolher = std::move(aoEscolher)](const QStringList& arquivos) { aoEscolher(arquivos); });
    dialog->open();
}

void QtDialogs::escolheArquivo(QWidget* parent, const QString& sugestao,
                               std::function<void(const QString&)> aoEscolher) {
    auto* dialog = new QFileDialog(parent, QStringLiteral("Salvar"), sugestao, QStringLiteral("CSV (*.csv)"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("csv"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QFileDialog::fileSelected, dialog,
                     [aoEscolher = std::move(aoEscolher)](const QString& arquivo) { aoEscolher(arquivo); });
    dialog->open();
}

void QtDialogs::escolheComparacao(QWidget* parent, const QString& inicial,
                                  std::function<void(const QString&, const QString&)> aoEscolher) {
    auto* dialogo = new DialogoDeComparacao(inicial, std::move(aoEscolher), parent);
    dialogo->setAttribute(Qt::WA_DeleteOnClose);
    dialogo->open();
}

void QtDialogs::comparacao(QWidget* parent, std::shared_ptr<const ResultadoDaComparacao> resultado,
                           std::function<void()> aoSalvar) {
    auto* janela = new JanelaComparacao(std::move(resultado), std::move(aoSalvar), parent);
    janela->setAttribute(Qt::WA_DeleteOnClose);
    janela->open();
}

}  // namespace zorla
