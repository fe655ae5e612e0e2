// zorla-exporta: the operator window.
#include <memory>

#include "DMVantero.h"
#include "Principal.h"
#include "ZorlaApplication.h"

int main(int argc, char** argv) {
    zorla::ZorlaApplication app(argc, argv);
    auto janela = std::make_unique<zorla::TFrmPrincipal>(app.dialogs());
    auto dm = std::make_unique<zorla::TFDMExporta>();
    janela->setDataModule(dm.get());
    janela->show();
    const int status = app.exec();
    // The window waits for its worker before the data module goes away.
    janela.reset();
    dm.reset();
    return status;
}
