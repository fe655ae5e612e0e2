// zorla-exporta: the operator window.
#include <QCoreApplication>
#include <QMetaObject>
#include <cstdio>
#include <exception>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "app/AntesDaJanela.h"
#include "app/PartidaDaJanela.h"
#include "base/TextoVisivel.h"
#include "base/VersaoDoArquivo.h"
#include "data/ProgramFolder.h"
#include "export/EventosDaExportacao.h"
#include "export/Sessao.h"
#include "sistema/SinaisDeParada.h"
#include "ui/Principal.h"
#include "ui/ZorlaApplication.h"

namespace {
int principal(int argc, char** argv) {
    const auto antes = zorla::AntesDaJanela(std::vector<std::string>(argv + 1, argv + argc), zorla::SessaoTemTela(),
                                            zorla::VersaoDoArquivo(zorla::programFile(), "BUILD"));
    if (antes) {
        std::fputs(antes->erro.c_str(), stderr);
        if (std::fputs(antes->saida.c_str(), stdout) < 0 || std::fflush(stdout) != 0) return 1;
        return antes->status;
    }
    zorla::SinaisDeParada sinais;  // SIGINT and SIGTERM close the window as "&Fechar" does
    // A run that a frozen server keeps from ending is not waited for past the grace.
    zorla::EncerraAoDesistir(sinais, [](int) { return std::string(zorla::kMensagemCancelada); });
    std::optional<zorla::PartidaDaJanela> partida(std::in_place);
    zorla::ZorlaApplication app(argc, argv);
    partida.reset();
    // Declared in this order, the window and its worker go before the session they use.
    zorla::Sessao sessao(zorla::Sessao::ArquivoDeConexaoPadrao());
    zorla::TFrmPrincipal janela(sessao, app.dialogs());
    // Quitting too: a message box still open would otherwise keep the program alive without its window.
    const std::stop_callback fecha(sinais.parada(), [&janela] {
        QMetaObject::invokeMethod(&janela, [&janela] {
            janela.BtnFecharClick();
            QCoreApplication::quit();
        });
    });
    janela.show();
    const int status = app.exec();
    return sinais.motivo() > 0 ? 128 + sinais.motivo() : status;
}
}  // namespace

int main(int argc, char** argv) {
    try {
        return principal(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Falha inesperada: %s\n", zorla::LinhasVisiveis(e.what()).c_str());
    } catch (...) {
        std::fprintf(stderr, "Falha inesperada.\n");
    }
    return 1;
}
