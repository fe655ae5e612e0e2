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

#include "DMVantero.h"
#include "Dialogs.h"
#include "Principal.h"
#include "ZorlaApplication.h"

namespace {
class AutoDialogs : public zorla::Dialogs {
public:
    void mensagem(QWidget*, const QString& texto, const QString&, zorla::MessageIcon,
                  std::function<void()> aoFechar) override {
        std::fprintf(stderr, "caixa: %s\n", texto.toUtf8().constData());
        if (aoFechar) aoFechar();
    }
    void escolhePasta(QWidget*, const QString&, std::function<void(const QString&)>) override {}
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
    zorla::TFrmPrincipal janela(dialogs);
    zorla::TFDMExporta dm(argv[1]);
    janela.setDataModule(&dm);
    janela.hoje = [] { return zorla::Date{std::chrono::year{2008} / 3 / 15}; };
    janela.show();
    janela.EdtCodEmpresa->setText("0001");

    QElapsedTimer relogio;
    relogio.start();
    janela.BtnConsultarClick();
    const double consulta = relogio.elapsed() / 1000.0;
    const int linhas = dm.CDSSaidas.active() ? dm.CDSSaidas.recordCount() : 0;

    janela.BtnVanteroClick();
    janela.EdtDiretorio->setText(QString::fromLocal8Bit(argv[2]));
    relogio.restart();
    janela.BtnContinuarClick();

    // The last turn includes the end of the run: the grid taking the purchases. It is counted apart.
    qint64 ultimo = relogio.elapsed(), maiorParada = 0, paradaFinal = 0;
    QTimer batida;
    batida.setInterval(5);
    QObject::connect(&batida, &QTimer::timeout, [&] {
        const qint64 agora = relogio.elapsed();
        if (janela.runEmAndamento()) {
            maiorParada = std::max(maiorParada, agora - ultimo);
        } else {
            paradaFinal = agora - ultimo;
            app.quit();
        }
        ultimo = agora;
    });
    batida.start();
    app.exec();
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    std::printf("linhas da consulta: %d\nconsulta: %.2f s\nexportacao: %.2f s\nmaior parada da janela: %lld ms\n"
                "ultima volta (fim da exportacao): %lld ms\nmemoria maxima: %ld MiB\n",
                linhas, consulta, relogio.elapsed() / 1000.0,
                static_cast<long long>(maiorParada), static_cast<long long>(paradaFinal), uso.ru_maxrss / 1024);
    return 0;
}
