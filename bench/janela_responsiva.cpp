// Measures how long the window's event loop goes without a turn while a consult, a run and a check of many records
// work, and how long each takes; then the turns that open the check's window and save its CSV.
//   bench_janela CONNECTION_FILE OUTPUT_FOLDER
#include <sys/resource.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimer>
#include <cstdio>

#include "ui/Dialogs.h"
#include "ui/JanelaVerificacao.h"
#include "ui/Principal.h"
#include "ui/ZorlaApplication.h"

namespace {
class AutoDialogs : public zorla::Dialogs {
public:
    explicit AutoDialogs(QString pasta) : m_pasta(std::move(pasta)) {}
    void mensagem(QWidget*, const QString& texto, const QString&, zorla::MessageIcon,
                  std::function<void()> aoFechar) override {
        std::fprintf(stderr, "caixa: %s\n", texto.toUtf8().constData());
        if (aoFechar) aoFechar();
    }
    void pergunta(QWidget*, const QString& texto, const QString&, bool, std::function<void()> aoConfirmar) override {
        std::fprintf(stderr, "pergunta: %s\n", texto.toUtf8().constData());
        if (aoConfirmar) aoConfirmar();
    }
    void mensagemComDetalhes(QWidget*, const QString& texto, const QString&, const QString& detalhes,
                             std::function<void()>, std::function<void()> aoFechar) override {
        std::fprintf(stderr, "caixa: %s\n%s\n", texto.toUtf8().constData(), detalhes.toUtf8().constData());
        if (aoFechar) aoFechar();
    }
    // The check's own window, shown as the operator sees it.
    void verificacao(QWidget* pai, std::shared_ptr<const zorla::ResultadoDaVerificacao> r,
                     std::function<void()> aoSalvar) override {
        problemas = static_cast<long>(r->problemas.size());
        janelaDaVerificacao = new zorla::JanelaVerificacao(std::move(r), aoSalvar, pai);
        janelaDaVerificacao->show();
        salvaCsv = std::move(aoSalvar);
    }
    void conferencia(QWidget*, std::shared_ptr<const std::vector<zorla::ArquivoConferido>>) override {}
    void pedeLinha(QWidget*, long, std::function<void(long)>) override {}
    void escolhePasta(QWidget*, const QString&, std::function<void(const QString&)>) override {}
    void escolheExportados(QWidget*, const QString&, std::function<void(const QStringList&)>) override {}
    void escolheArquivo(QWidget*, const QString&, std::function<void(const QString&)> aoEscolher) override {
        aoEscolher(m_pasta + QStringLiteral("/verificacao.csv"));
    }
    void escolheComparacao(QWidget*, const QString&, std::function<void(const QString&, const QString&)>) override {}
    void comparacao(QWidget*, std::shared_ptr<const zorla::ResultadoDaComparacao>, std::function<void()>) override {}

    QWidget* janelaDaVerificacao = nullptr;
    std::function<void()> salvaCsv;  // "Salvar…" of the check's window
    long problemas = 0;

private:
    QString m_pasta;
};

// The event loop's longest time without a turn in each phase; the turn that ends a phase counted apart.
struct Fase {
    double segundos = 0;
    qint64 maiorParada = 0, ultimaVolta = 0;
    void print(const char* nome, const char* fim) const {
        std::printf("%s: %.2f s (maior parada da janela: %lld ms; ultima volta, %s: %lld ms)\n", nome, segundos,
                    static_cast<long long>(maiorParada), fim, static_cast<long long>(ultimaVolta));
    }
};

class Medidor {
public:
    Medidor(zorla::TFrmPrincipal& janela, const zorla::Sessao& sessao, AutoDialogs& dialogs, QString pasta)
        : m_janela(janela), m_sessao(sessao), m_dialogs(dialogs), m_pasta(std::move(pasta)) {}

    // One beat: how long since the last, and the next step when a phase is over.
    void batida() {
        const qint64 agora = m_relogio.elapsed(), parada = agora - m_ultimo;
        m_ultimo = agora;
        switch (m_etapa) {
            case 0:
                return inicia([this] { m_janela.BtnConsultarClick(); }, !m_janela.carregandoEmpresas());
            case 1:
                return mede(consulta, parada, m_janela.consultando(), [this] { exporta(); });
            case 2:
                return mede(exportacao, parada, m_janela.runEmAndamento(), [this] { m_janela.BtnVerificarClick(); });
            case 3:
                return mede(verificacao, parada, m_janela.verificando(), [this] { salva(); });
            case 4:
                return mede(salvar, parada, !m_salvo || m_janela.gravandoCsv(), [] { QCoreApplication::quit(); });
        }
    }

    Fase consulta, exportacao, verificacao, salvar;
    int linhasDaConsulta = 0;

private:
    template <class Acao>
    void inicia(Acao acao, bool pronto) {
        if (!pronto) return;
        acao();
        ++m_etapa;
        m_relogio.restart();
        m_ultimo = 0;
    }
    template <class Proxima>
    void mede(Fase& f, qint64 parada, bool emCurso, Proxima proxima) {
        if (emCurso) {
            f.maiorParada = std::max(f.maiorParada, parada);
            return;
        }
        f.ultimaVolta = parada;
        f.segundos = m_relogio.elapsed() / 1000.0;
        inicia(proxima, true);
    }
    // "Salvar…" pressed on a turn of its own, which counts in the saving.
    void salva() {
        QTimer::singleShot(0, [this] {
            m_dialogs.salvaCsv();
            m_salvo = true;
        });
    }
    void exporta() {
        const zorla::VendasConsultadas vendas = m_sessao.vendasConsultadas();
        linhasDaConsulta = vendas.linhas ? static_cast<int>(vendas.linhas->size()) : 0;
        m_janela.BtnVanteroClick();
        m_janela.findChild<QLineEdit*>("EdtDiretorio")->setText(m_pasta);
        m_janela.BtnContinuarClick();
    }

    zorla::TFrmPrincipal& m_janela;
    const zorla::Sessao& m_sessao;
    AutoDialogs& m_dialogs;
    QString m_pasta;
    QElapsedTimer m_relogio;
    qint64 m_ultimo = 0;
    int m_etapa = 0;
    bool m_salvo = false;
};
}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "uso: %s dbxconnections.ini PASTA\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    zorla::ZorlaApplication app(argc, argv);
    const QString pasta = QString::fromLocal8Bit(argv[2]);
    AutoDialogs dialogs(pasta);
    zorla::Sessao sessao(argv[1]);
    zorla::TFrmPrincipal janela(sessao, dialogs);
    janela.hoje = [] { return zorla::Date{std::chrono::year{2008} / 3 / 15}; };
    janela.show();
    janela.findChild<QLineEdit*>("EdtCodEmpresa")->setText("0001");
    Medidor medidor(janela, sessao, dialogs, pasta);
    QTimer batida;
    batida.setInterval(5);
    QObject::connect(&batida, &QTimer::timeout, [&] { medidor.batida(); });
    batida.start();
    app.exec();
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    std::printf("linhas da consulta: %d\n", medidor.linhasDaConsulta);
    medidor.consulta.print("consulta", "grade");
    medidor.exportacao.print("exportacao", "fim da exportacao");
    medidor.verificacao.print("verificacao", "abertura da janela da verificacao");
    medidor.salvar.print("salvar o CSV da verificacao", "fim da gravacao");
    std::printf("problemas: %ld\nmemoria maxima: %ld MiB\n", dialogs.problemas, uso.ru_maxrss / 1024);
    delete dialogs.janelaDaVerificacao;
    return 0;
}
