#include "ui/EventosNaJanela.h"

#include <QTimer>
#include <algorithm>
#include <cstring>

#include "base/Caminho.h"
#include "base/Cp1252.h"
#include "ui/VisorDaExportacao.h"

namespace zorla {

EventosNaJanela::EventosNaJanela(VisorDaExportacao& visor, QObject* dono)
    : m_visor(visor), m_relogio(new QTimer(dono)) {
    m_relogio->setInterval(25);
    QObject::connect(m_relogio, &QTimer::timeout, m_relogio, [this] { aplica(); });
}

EventosNaJanela::~EventosNaJanela() { m_relogio->stop(); }

void EventosNaJanela::inicia() {
    {
        std::lock_guard lock(m_mutex);
        m_estado = Estado{};
        m_aviso.reset();
        m_avisoAberto = false;
        m_resultado.reset();
    }
    m_ignorando = false;
    m_relogio->start();
}

void EventosNaJanela::aplica() {
    Estado e;
    std::optional<std::string> aviso;
    std::optional<ResultadoDaExportacao> resultado;
    {
        std::lock_guard lock(m_mutex);
        e = m_estado;
        m_estado.mudou = false;
        m_respostas.notify_all();
        if (m_aviso && !m_avisoAberto) {
            aviso = std::exchange(m_aviso, std::nullopt);
            m_avisoAberto = true;
        }
        // Closing, a box left open no longer holds the end back.
        if (!m_avisoAberto || m_fechando) resultado = std::exchange(m_resultado, std::nullopt);
    }
    if (e.mudou && !m_ignorando) mostra(e);
    if (aviso)
        m_visor.mostraAviso(QString::fromStdString(*aviso), MessageIcon::Error, [this] {
            std::lock_guard lock(m_mutex);
            m_avisoAberto = false;
            m_respostas.notify_all();
        });
    if (resultado) {
        m_relogio->stop();
        m_visor.exportacaoTerminou(*resultado);
    }
}

void EventosNaJanela::mostra(const Estado& e) {
    if (!e.iniciada) return;
    m_visor.mostraProcessamento();
    if (!e.arquivo.empty()) m_visor.mostraArquivo(QString::fromStdString("ARQUIVO: " + e.arquivo));
    m_visor.mostraGauge(e.maximo, e.posicao);
    if (e.tituloNumero > 0) m_visor.mostraTitulo(QStringLiteral("%1 gerando...").arg(e.tituloNumero));
    if (e.etapa == Etapa::MovimentoBancario) {
        if (e.passo) m_visor.mostraMovimento(QString::fromUtf8(TextoDoPasso(*e.passo)));
    } else if (e.posicao == 0) {
        m_visor.mostraMovimento(QString::fromUtf8(kGerandoArquivo));
    } else {
        const std::string codigo = cp1252ToUtf8(std::string_view(e.movimento.data(), e.movimentoTamanho));
        m_visor.mostraMovimento(
            QStringLiteral("Movimento: %1. Gerando, aguarde...").arg(QString::fromStdString(codigo)));
    }
}

// A new stage begins: the last state of the one before is shown first.
void EventosNaJanela::esperaMostrar() {
    std::unique_lock lock(m_mutex);
    m_respostas.wait(lock, [&] { return !m_estado.mudou || m_fechando; });
}

void EventosNaJanela::etapaIniciada(Etapa etapa, int registros) {
    esperaMostrar();
    std::lock_guard lock(m_mutex);
    m_estado.iniciada = true;
    m_estado.etapa = etapa;
    m_estado.maximo = registros;
    m_estado.posicao = 0;
    m_estado.mudou = true;
}

void EventosNaJanela::registroFeito(int numero, std::string_view movimento) {
    std::lock_guard lock(m_mutex);
    m_estado.posicao = numero;
    if (m_estado.etapa != Etapa::MovimentoBancario) {
        m_estado.tituloNumero = numero;
        m_estado.movimentoTamanho = std::min(movimento.size(), m_estado.movimento.size());
        std::memcpy(m_estado.movimento.data(), movimento.data(), m_estado.movimentoTamanho);
    }
    m_estado.mudou = true;
}

void EventosNaJanela::arquivoIniciado(TipoArquivo tipo, const std::string& caminho) {
    esperaMostrar();
    std::lock_guard lock(m_mutex);
    if (LivroFiscal(tipo))
        m_estado.arquivo = NomeDoArquivo(caminho);
    else
        m_estado.passo = tipo;
    m_estado.mudou = true;
}

void EventosNaJanela::aviso(const Aviso& aviso) {
    std::unique_lock lock(m_mutex);
    if (m_fechando) return;
    m_aviso = aviso.texto;
    m_respostas.wait(lock, [&] { return (!m_aviso && !m_avisoAberto) || m_fechando; });
}

void EventosNaJanela::terminou(const ResultadoDaExportacao& resultado) {
    std::lock_guard lock(m_mutex);
    m_resultado = resultado;
}

void EventosNaJanela::fecha() {
    std::lock_guard lock(m_mutex);
    m_fechando = true;
    m_respostas.notify_all();
}

}  // namespace zorla
