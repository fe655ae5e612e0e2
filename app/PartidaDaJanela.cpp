#include "app/PartidaDaJanela.h"

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/TextoVisivel.h"

namespace zorla {

namespace {

std::string g_ditoNaPartida;  // Qt's own lines while it starts: after the Portuguese, if the start fails

void naPartida(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto) {
    g_ditoNaPartida += LinhasVisiveis(qFormatLogMessage(tipo, contexto, texto).toStdString()) + "\n";
    if (tipo != QtFatalMsg) return;
    std::fprintf(stderr,
                 "zorla-exporta: a tela gráfica desta sessão não pôde ser aberta; sem ela, use zorla-exporta-cli "
                 "(zorla-exporta-cli --help), que grava os mesmos arquivos.\nDetalhe:\n%s",
                 g_ditoNaPartida.c_str());
    std::fflush(stderr);
    std::_Exit(1);  // nothing was started that must be ended
}

}  // namespace

PartidaDaJanela::PartidaDaJanela() : m_anterior(qInstallMessageHandler(naPartida)) {}

// A start that went well: what Qt said meanwhile is said as it would have been.
PartidaDaJanela::~PartidaDaJanela() {
    qInstallMessageHandler(m_anterior);
    std::fputs(g_ditoNaPartida.c_str(), stderr);
    g_ditoNaPartida.clear();
}

}  // namespace zorla
