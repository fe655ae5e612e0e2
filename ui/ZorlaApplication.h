#pragma once

#include <QApplication>
#include <memory>

#include "Dialogs.h"

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

    QString titulo() const { return applicationDisplayName(); }
    void setTitulo(const QString& titulo) { setApplicationDisplayName(titulo); }

    // The error's text, with "." appended when its last character sorts after "."; the program goes on.
    void mostraErro(const QString& texto);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    std::unique_ptr<Dialogs> m_dialogs;
};

}  // namespace zorla
