#pragma once

#include <QMainWindow>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "RunParameters.h"
#include "Value.h"

class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QStatusBar;
class QTableView;
class QTimer;
class QToolButton;

namespace zorla {

class Dialogs;
class OutputFiles;
class SaidasModel;
class TFDMExporta;
class ThProcessa;
class WindowHost;

// The operator window: parameters, consult grid, export control and status.
class TFrmPrincipal : public QMainWindow {
public:
    // The data module comes later (setDataModule): nothing at creation may use it.
    explicit TFrmPrincipal(Dialogs& dialogs, QWidget* parent = nullptr);
    ~TFrmPrincipal() override;

    void setDataModule(TFDMExporta* dm) { m_dm = dm; }
    // Today's date; tests fix it.
    std::function<Date()> hoje;
    // Where runs write; tests put a failing device here.
    OutputFiles* arquivos;

    // Controls, named as the operator knows them.
    QGroupBox* GpBxParametros;
    QComboBox* RxDBLkCbEMPRESA;
    QLineEdit* EdtCodEmpresa;
    QComboBox* CbxMes;
    QSpinBox* EdtDiaInicial;
    QSpinBox* EdtDiaFinal;
    QSpinBox* EdtAno;
    QPushButton* BtnConsultar;
    QTableView* DbGrdConsulta;
    QLabel* LblArquivo;
    QLabel* LblMovimento;
    QProgressBar* PgrMovimento;
    QPushButton* BtnVantero;
    QPushButton* BtnCancelar;
    QPushButton* BtnFechar;
    QLabel* PnlStatus;
    QFrame* PnlCaminhoArquivo;
    QLineEdit* EdtDiretorio;
    QToolButton* BtnProcuraDiretorio;
    QPushButton* BtnContinuar;
    QPushButton* BtnCancelarDiretorio;
    QStatusBar* StStatus;
    QAction* MnuAtualizar;
    QAction* MnuSair;

    // Window fields shared with the run.
    Date DataAtual{};
    Date DataInicial{};
    Date DataFinal{};
    std::string MesAbrev;
    std::string NomeArquivo;
    std::string Diretorio;
    std::atomic<bool> Exportando{false};
    std::atomic<bool> Cancelado{false};

    void FormCreate();
    void FormShow();
    void preencheDataPadrao();
    void preencheMes();
    void CbxMesChange();
    void geraNomeArquivo();
    void BtnConsultarClick();
    void BtnVanteroClick();
    void BtnCancelarDiretorioClick();
    void BtnContinuarClick();
    void BtnCancelarClick();
    void BtnFecharClick();

    bool runEmAndamento() const { return m_run != nullptr; }
    // The application title, shown in the caption while it is not the program's name.
    void mostraTitulo(const QString& titulo);
    void defineMaximoGauge(int maximo);
    bool consultando() const { return m_consulta.joinable(); }
    // Called on the window's thread when the run has made its last call.
    void exportacaoTerminou();

    SaidasModel& modelo() { return *m_modelo; }
    Dialogs& dialogs() { return m_dialogs; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void montaTela();
    void posicionaPaineis();
    void informa(const QString& texto);
    // A run or a consult uses the datasets: says so and refuses.
    bool ocupada();
    bool semConsulta();
    void apagaLivros();
    void reiniciaStatus();
    void afastaRotulos();
    void terminaRun();
    void terminaConsulta();
    void paraConsulta();

    Dialogs& m_dialogs;
    TFDMExporta* m_dm = nullptr;
    SaidasModel* m_modelo;
    std::unique_ptr<OutputFiles> m_disco;
    std::unique_ptr<WindowHost> m_host;
    std::unique_ptr<ThProcessa> m_run;
    bool m_mostrada = false;
    QString m_legenda;
    bool m_consultaValida = false;           // the fiscal rows are the consulted sales
    bool m_apagaLivrosAoTerminar = false;  // cancelled during a run

    // The consult's query runs off the window's thread; the window looks for its end on a timer.
    std::thread m_consulta;
    QTimer* m_relogioConsulta;
    std::mutex m_mutexConsulta;
    bool m_consultaPronta = false;
    std::optional<std::string> m_erroConsulta;
};

}  // namespace zorla
