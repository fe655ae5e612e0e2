#include "ui/ZorlaApplication.h"

#include <QLibraryInfo>
#include <QLocale>
#include <exception>

namespace zorla {

ZorlaApplication::ZorlaApplication(int& argc, char** argv)
    : QApplication(argc, argv), m_dialogs(std::make_unique<QtDialogs>()) {
    // Qt's own dialogs and buttons speak the operator's language too.
    if (m_traducaoQt.load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(&m_traducaoQt);
}

ZorlaApplication* ZorlaApplication::instance() { return static_cast<ZorlaApplication*>(QCoreApplication::instance()); }

QString textoErroPadrao(const QString& erro) {
    QString t = erro;
    if (!t.isEmpty() && t.back() > QChar('.')) t += '.';
    return t;
}

void ZorlaApplication::mostraErro(const QString& texto) {
    m_dialogs->mensagem(activeWindow(), textoErroPadrao(texto), titulo(), MessageIcon::Error, nullptr);
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
