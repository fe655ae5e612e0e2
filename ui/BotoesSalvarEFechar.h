#pragma once

#include <functional>

class QDialog;
class QDialogButtonBox;

namespace zorla {

// A result window's buttons: "Salvar…" (object name BtnSalvar, for the tests) and the system's Close, which
// rejects the window.
QDialogButtonBox* BotoesSalvarEFechar(QDialog* janela, std::function<void()> aoSalvar);

}  // namespace zorla
