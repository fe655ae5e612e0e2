#pragma once

#include <QApplication>
#include <QTranslator>
#include <memory>

#include "ui/Dialogs.h"

namespace zorla {

// The standard error box's text: "." appended when the last character sorts after ".".
QString textoErroPadrao(const QString& erro);

// The application object: its title, and the standard error box for any error no handler catches.
class ZorlaApplication : public QApplication {
public:
    ZorlaApplication(int& argc, char** argv);

    static ZorlaApplication* instance();
    Dialogs& dialogs() { return *m_dialogs; }
    void setDialogs(std::unique_ptr<Dialogs> dialogs) { m_dialogs = std::move(dialogs); }

    // The application's title, which the standard error box takes as its caption. Kept apart from Qt's display
    // name, which the window system would append to every window's caption.
    QString titulo() const { return m_titulo; }
    void setTitulo(const QString& titulo) { m_titulo = titulo; }

    // The error's text, with "." appended when its last character sorts after "."; the program goes on.
    void mostraErro(const QString& texto);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    std::unique_ptr<Dialogs> m_dialogs;
    QString m_titulo;
    QTranslator m_traducaoQt;
};

}  // namespace zorla
