#include "WindowHost.h"

#include <QLabel>
#include <QTimer>
#include <QProgressBar>

#include "Dialogs.h"
#include "Principal.h"

namespace zorla {

namespace {
QString estiloPainel(Rgb c) {
    return QStringLiteral("background-color: rgb(%1,%2,%3); border: 1px solid gray;").arg(c.r).arg(c.g).arg(c.b);
}
}  // namespace

WindowHost::WindowHost(TFrmPrincipal& janela) : m_janela(janela), m_relogio(new QTimer(&janela)) {
    m_relogio->setInterval(25);
    QObject::connect(m_relogio, &QTimer::timeout, &janela, [this] { aplica(); });
}

WindowHost::~WindowHost() { m_relogio->stop(); }

void WindowHost::inicia() {
    {
        std::lock_guard lock(m_mutex);
        m_pendente = Estado{};
        m_terminou = false;
        m_caixa.reset();
        m_caixaAberta = false;
    }
    m_ignorando = false;
    m_relogio->start();
}

bool WindowHost::cancelado() const { return m_janela.Cancelado.load(); }

template <class F>
void WindowHost::altera(F&& mudanca) {
    std::lock_guard lock(m_mutex);
    mudanca(m_pendente);
}

void WindowHost::aplica() {
    Estado e;
    std::optional<std::pair<std::string, MessageIcon>> caixa;
    bool terminou;
    {
        std::lock_guard lock(m_mutex);
        e = std::exchange(m_pendente, Estado{});
        m_respostas.notify_all();
        if (m_caixa && !m_caixaAberta) {
            caixa = std::move(m_caixa);
            m_caixa.reset();
            m_caixaAberta = true;
        }
        terminou = m_terminou && !m_caixaAberta;
    }
    if (!m_ignorando) mostra(e);
    if (caixa) {
        m_janela.dialogs().mensagem(&m_janela, QString::fromStdString(caixa->first), QStringLiteral("ZORLA"),
                                    caixa->second, [this] {
                                        std::lock_guard lock(m_mutex);
                                        m_caixaAberta = false;
                                        m_respostas.notify_all();
                                    });
    }
    if (terminou) {
        m_relogio->stop();
        m_janela.exportacaoTerminou();
    }
}

void WindowHost::mostra(const Estado& e) {
    if (e.painelCor) m_janela.PnlStatus->setStyleSheet(estiloPainel(*e.painelCor));
    if (e.painelVisivel) {
        m_janela.PnlStatus->setVisible(*e.painelVisivel);
        if (*e.painelVisivel) m_janela.PnlStatus->raise();
    }
    if (e.movimento) m_janela.LblMovimento->setText(QString::fromStdString(*e.movimento));
    if (e.arquivo) m_janela.LblArquivo->setText(QString::fromStdString(*e.arquivo));
    if (e.maximo) m_janela.defineMaximoGauge(*e.maximo);
    if (e.posicao) m_janela.PgrMovimento->setValue(*e.posicao);
    if (e.titulo) m_janela.mostraTitulo(QString::fromStdString(*e.titulo));
    if (e.repinta) m_janela.repaint();
}

void WindowHost::esperaMostrar() {
    std::unique_lock lock(m_mutex);
    m_respostas.wait(lock, [&] { return m_pendente.vazio() || m_fechando; });
}

void WindowHost::painelStatus(bool visivel, Rgb cor) {
    esperaMostrar();
    altera([&](Estado& e) {
        e.painelVisivel = visivel;
        e.painelCor = cor;
    });
}
void WindowHost::lblMovimento(const std::string& t) {
    altera([&](Estado& e) { e.movimento = t; });
}
void WindowHost::lblArquivo(const std::string& t) {
    esperaMostrar();
    altera([&](Estado& e) { e.arquivo = t; });
}
void WindowHost::gaugeMaximo(int m) {
    esperaMostrar();
    altera([&](Estado& e) { e.maximo = m; });
}
void WindowHost::gaugePosicao(int p) {
    altera([&](Estado& e) { e.posicao = p; });
}
void WindowHost::titulo(const std::string& t) {
    altera([&](Estado& e) { e.titulo = t; });
}
void WindowHost::repinta() {
    altera([&](Estado& e) { e.repinta = true; });
}
// The grid shows a snapshot of the consult, never the rows the run walks: it has nothing to stop following, and
// switching its painting off would leave a hole in the window.
void WindowHost::controlesDados(bool) {}

void WindowHost::mensagem(const std::string& texto, MessageIcon icone) {
    std::unique_lock lock(m_mutex);
    if (m_fechando) return;
    m_caixa = std::make_pair(texto, icone);
    m_respostas.wait(lock, [&] { return (!m_caixa && !m_caixaAberta) || m_fechando; });
}

void WindowHost::terminaExportacao() {
    std::lock_guard lock(m_mutex);
    m_terminou = true;
}

void WindowHost::fecha() {
    std::lock_guard lock(m_mutex);
    m_fechando = true;
    m_respostas.notify_all();
}

}  // namespace zorla
