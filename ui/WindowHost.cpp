#include "WindowHost.h"

#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QTableView>

#include "Dialogs.h"
#include "Principal.h"
#include <QGuiApplication>

namespace zorla {

namespace {
QString estiloPainel(Rgb c) {
    return QStringLiteral("background-color: rgb(%1,%2,%3); border: 1px solid gray;").arg(c.r).arg(c.g).arg(c.b);
}
}  // namespace

WindowHost::WindowHost(TFrmPrincipal& janela) : m_janela(janela) {}

bool WindowHost::cancelado() const { return m_janela.Cancelado.load(); }

template <class F>
void WindowHost::altera(F&& mudanca) {
    bool agendar;
    {
        std::lock_guard lock(m_mutex);
        mudanca(m_pendente);
        agendar = !m_agendado;
        m_agendado = true;
    }
    if (agendar) QMetaObject::invokeMethod(&m_janela, [this] { aplica(); }, Qt::QueuedConnection);
}

void WindowHost::aplica() {
    Estado e;
    {
        std::lock_guard lock(m_mutex);
        e = std::exchange(m_pendente, Estado{});
        m_agendado = false;
    }
    if (e.painelCor) m_janela.PnlStatus->setStyleSheet(estiloPainel(*e.painelCor));
    if (e.painelVisivel) {
        m_janela.PnlStatus->setVisible(*e.painelVisivel);
        if (*e.painelVisivel) m_janela.PnlStatus->raise();
    }
    if (e.movimento) m_janela.LblMovimento->setText(QString::fromStdString(*e.movimento));
    if (e.arquivo) m_janela.LblArquivo->setText(QString::fromStdString(*e.arquivo));
    if (e.maximo) m_janela.PgrMovimento->setMaximum(*e.maximo);
    if (e.posicao) m_janela.PgrMovimento->setValue(*e.posicao);
    if (e.titulo) QGuiApplication::setApplicationDisplayName(QString::fromStdString(*e.titulo));
    if (e.controles) m_janela.DbGrdConsulta->setUpdatesEnabled(*e.controles);
    if (e.repinta) m_janela.repaint();
}

void WindowHost::painelStatus(bool visivel, Rgb cor) {
    altera([&](Estado& e) {
        e.painelVisivel = visivel;
        e.painelCor = cor;
    });
}
void WindowHost::lblMovimento(const std::string& t) {
    altera([&](Estado& e) { e.movimento = t; });
}
void WindowHost::lblArquivo(const std::string& t) {
    altera([&](Estado& e) { e.arquivo = t; });
}
void WindowHost::gaugeMaximo(int m) {
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
void WindowHost::controlesDados(bool ativos) {
    altera([&](Estado& e) { e.controles = ativos; });
}

void WindowHost::mensagem(const std::string& texto, MessageIcon icone) {
    unsigned long pedido;
    {
        std::lock_guard lock(m_mutex);
        if (m_fechando) return;
        pedido = ++m_pedidos;
    }
    auto responde = [this, pedido] {
        std::lock_guard lock(m_mutex);
        m_respondidos = std::max(m_respondidos, pedido);
        m_respostas.notify_all();
    };
    QMetaObject::invokeMethod(
        &m_janela,
        [this, texto, icone, responde] {
            aplica();
            m_janela.dialogs().mensagem(&m_janela, QString::fromStdString(texto), QStringLiteral("ZORLA"), icone,
                                        responde);
        },
        Qt::QueuedConnection);
    std::unique_lock lock(m_mutex);
    m_respostas.wait(lock, [&] { return m_respondidos >= pedido || m_fechando; });
}

void WindowHost::terminaExportacao() {
    QMetaObject::invokeMethod(
        &m_janela,
        [this] {
            aplica();
            m_janela.exportacaoTerminou();
        },
        Qt::QueuedConnection);
}

void WindowHost::fecha() {
    std::lock_guard lock(m_mutex);
    m_fechando = true;
    m_respostas.notify_all();
}

}  // namespace zorla
