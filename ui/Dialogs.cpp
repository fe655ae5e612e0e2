#include "ui/Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace zorla {

void QtDialogs::mensagem(QWidget* parent, const QString& texto, const QString& titulo, MessageIcon icone,
                         std::function<void()> aoFechar) {
    auto* box = new QMessageBox(icone == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Information, titulo,
                                texto, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box, [aoFechar = std::move(aoFechar)](int) {
        if (aoFechar) aoFechar();
    });
    box->open();
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

}  // namespace zorla
