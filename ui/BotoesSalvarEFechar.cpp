#include "ui/BotoesSalvarEFechar.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace zorla {

QDialogButtonBox* BotoesSalvarEFechar(QDialog* janela, std::function<void()> aoSalvar) {
    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Close, janela);
    QPushButton* salvar = botoes->addButton(QStringLiteral("Salvar…"), QDialogButtonBox::ActionRole);
    salvar->setObjectName(QStringLiteral("BtnSalvar"));
    QObject::connect(salvar, &QPushButton::clicked, janela, [aoSalvar = std::move(aoSalvar)] { aoSalvar(); });
    QObject::connect(botoes, &QDialogButtonBox::rejected, janela, &QDialog::reject);
    return botoes;
}

}  // namespace zorla
