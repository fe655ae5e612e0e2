#include "ZorlaApplication.h"

#include <exception>

namespace zorla {

ZorlaApplication::ZorlaApplication(int& argc, char** argv)
    : QApplication(argc, argv), m_dialogs(std::make_unique<QtDialogs>()) {
    setTitulo(QString());
}

ZorlaApplication* ZorlaApplication::instance() { return static_cast<ZorlaApplication*>(QCoreApplication::instance()); }

void ZorlaApplication::mostraErro(const QString& texto) {
    QString t = texto;
    if (!t.isEmpty() && t.back() > QChar('.')) t += '.';
    m_dialogs->mensagem(activeWindow(), t, titulo(), MessageIcon::Error, nullptr);
}

bool ZorlaApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        mostraErro(QString::fromUtf8(e.what()));
    } catch (...) {
        mostraErro(QStringLiteral("Erro desconhecido"));
    }
    return false;
}

}  // namespace zorla
