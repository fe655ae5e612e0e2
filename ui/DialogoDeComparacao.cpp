#include "ui/DialogoDeComparacao.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace zorla {

DialogoDeComparacao::DialogoDeComparacao(const QString& inicial,
                                         std::function<void(const QString&, const QString&)> aoComparar,
                                         QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("DialogoDeComparacao"));
    setWindowTitle(QStringLiteral("ZORLA - Comparar exportações"));
    resize(560, 0);
    auto* formulario = new QFormLayout(this);
    m_antes = campo(QStringLiteral("Exportação &anterior:"), "EdtAntes", inicial);
    m_depois = campo(QStringLiteral("Exportação &nova:"), "EdtDepois", inicial);
    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton* comparar = botoes->addButton(QStringLiteral("&Comparar"), QDialogButtonBox::AcceptRole);
    comparar->setObjectName(QStringLiteral("BtnComparar"));
    comparar->setDefault(true);
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(botoes, &QDialogButtonBox::accepted, this, [this, aoComparar = std::move(aoComparar)] {
        const QString antes = m_antes->text().trimmed(), depois = m_depois->text().trimmed();
        if (antes.isEmpty() || depois.isEmpty()) return;
        accept();
        aoComparar(antes, depois);
    });
    formulario->addRow(botoes);
}

// A row of the form: the path typed, or a folder chosen with "…" (a file is typed).
QLineEdit* DialogoDeComparacao::campo(const QString& rotulo, const char* nome, const QString& inicial) {
    auto* linha = new QHBoxLayout;
    auto* texto = new QLineEdit(this);
    texto->setObjectName(QString::fromLatin1(nome));
    texto->setMinimumWidth(380);
    auto* escolhe = new QPushButton(QStringLiteral("…"), this);
    escolhe->setFixedWidth(32);
    connect(escolhe, &QPushButton::clicked, this, [this, texto, inicial] {
        auto* dialog = new QFileDialog(this, QString(), texto->text().isEmpty() ? inicial : texto->text());
        dialog->setFileMode(QFileDialog::Directory);
        dialog->setOption(QFileDialog::ShowDirsOnly);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        connect(dialog, &QFileDialog::fileSelected, texto, &QLineEdit::setText);
        dialog->open();
    });
    linha->addWidget(texto);
    linha->addWidget(escolhe);
    qobject_cast<QFormLayout*>(layout())->addRow(rotulo, linha);
    return texto;
}

}  // namespace zorla
