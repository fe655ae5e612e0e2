// Measures how long the window's event loop goes without a turn while a run of many records works, and how
// long the consult and the run take.
//   bench_janela CONNECTION_FILE OUTPUT_FOLDER
#include <sys/resource.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimer>
#include <cstdio>

#include "data/DMVantero.h"
#include "ui/Dialogs.h"
#include "ui/Principal.h"
#include "ui/ZorlaApplication.h"

namespace {
class AutoDialogs : public zorla::Dialogs {
public:
    void mensagem(QWidget*, const QString& texto, const QString&, zorla::MessageIcon,
                  std::function<void()> aoFechar) override {
        std::fprintf(stderr, "caixa: %s\n", texto.toUtf8().constData());
        if (aoFechar) aoFechar();
    }
    void mensagemComDetalhes(QWidget*, const QString& texto, const QString&, const QString& detalhes,
                             std::function<void()>, std::function<void()> aoFechar) override {
        std::fprintf(stderr, "caixa: %s\n%s\n", texto.toUtf8().constData(), detalhes.toUtf8().constData());
        if (aoFechar) aoFechar();
    }
    void verificacao(QWidget*, std::shared_ptr<const zorla::ResultadoDaVerificacao>, std::function<void()>) override {}
    void escolhePasta(QWidget*, const QString&, std::function<void(const QString&)>) override {}
    void escolheArquivo(QWidget*, const QString&, std::function<void(const QString&)>) override {}
};
}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "uso: %s dbxconnections.ini PASTA\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    zorla::ZorlaApplication app(argc, argv);
    AutoDialogs dialogs;
    zorla::TFDMExporta dm(argv[1]);
    zorla::TFrmPrincipal janela(dm, dialogs);
    janela.hoje = [] { return zorla::Date{std::chrono::year{2008} / 3 / 15}; };
    janela.show();
    janela.findChild<QLineEdit*>("EdtCodEmpresa")->setText("0001");

    // The event loop's longest time without a turn, during the consult and during the run; the last turn of the
    // run includes its end, the grid taking the purchases, and is counted apart.
    QElapsedTimer relogio;
    relogio.start();
    double consulta = 0, exportacao = 0;
    int linhas = 0;
    qint64 ultimo = 0, paradaConsulta = 0, paradaFimConsulta = 0, paradaRun = 0, paradaFinal = 0;
    bool consultou = false, exportando = false;
    QTimer batida;
    batida.setInterval(5);
    QObject::connect(&batida, &QTimer::timeout, [&] {
        if (!consultou) {  // the company list first
            if (janela.carregandoEmpresas()) return;
            janela.BtnConsultarClick();
            consultou = true;
            relogio.restart();
            ultimo = 0;
            return;
        }
        const qint64 agora = relogio.elapsed(), parada = agora - ultimo;
        ultimo = agora;
        if (!exportando) {
            if (janela.consultando()) {
                paradaConsulta = std::max(paradaConsulta, parada);
                return;
            }
            paradaFimConsulta = parada;  // the turn that puts the rows into the grid
            consulta = agora / 1000.0;
            linhas = dm.CDSSaidas.active() ? dm.CDSSaidas.recordCount() : 0;
            janela.BtnVanteroClick();
            janela.findChild<QLineEdit*>("EdtDiretorio")->setText(QString::fromLocal8Bit(argv[2]));
            janela.BtnContinuarClick();
            exportando = true;
            relogio.restart();
            ultimo = 0;
        } else if (janela.runEmAndamento()) {
            paradaRun = std::max(paradaRun, parada);
        } else {
            paradaFinal = parada;
            exportacao = agora / 1000.0;
            app.quit();
        }
    });
    batida.start();
    app.exec();
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    std::printf("linhas da consulta: %d\nconsulta: %.2f s (maior parada da janela: %lld ms; ultima volta, grade: %lld ms)\n"
                "exportacao: %.2f s (maior parada da janela: %lld ms; ultima volta, fim da exportacao: %lld ms)\n"
                "memoria maxima: %ld MiB\n",
                linhas, consulta, static_cast<long long>(paradaConsulta), static_cast<long long>(paradaFimConsulta), exportacao,
                static_cast<long long>(paradaRun), static_cast<long long>(paradaFinal), uso.ru_maxrss / 1024);
    return 0;
}
