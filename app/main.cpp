// zorla-exporta: the operator window.
#include <QCoreApplication>
#include <QMetaObject>

#include "app/SinaisDeParada.h"
#include "data/DMVantero.h"
#include "ui/Principal.h"
#include "ui/ZorlaApplication.h"

int main(int argc, char** argv) {
    zorla::SinaisDeParada sinais;  // SIGINT and SIGTERM close the window as "&Fechar" does
    zorla::ZorlaApplication app(argc, argv);
    // Declared in this order, the window and its worker go before the data module they use.
    zorla::TFDMExporta dm;
    zorla::TFrmPrincipal janela(dm, app.dialogs());
    // Quitting too: a message box still open would otherwise keep the program alive without its window.
    sinais.aoCancelar([&janela] {
        QMetaObject::invokeMethod(&janela, [&janela] {
            janela.BtnFecharClick();
            QCoreApplication::quit();
        });
    });
    janela.show();
    const int status = app.exec();
    sinais.aoCancelar(nullptr);
    return sinais.motivo() > 0 ? 128 + sinais.motivo() : status;
}
