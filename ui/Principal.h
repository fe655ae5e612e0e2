#pragma once

#include <QFutureWatcher>
#include <QMainWindow>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Value.h"
#include "export/ArquivosDaExportacao.h"
#include "export/Resumo.h"
#include "export/ConferenciaDeArquivos.h"
#include "export/Sessao.h"
#include "export/Verificacao.h"
#include "ui/VisorDaExportacao.h"

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
class QToolButton;

namespace zorla {

class Dialogs;
class OutputFiles;
class SaidasModel;
class TFDMExporta;
class ThProcessa;
class WindowHost;

// The operator window: parameters, consult grid, export control and status. Its controls carry the names the
// operator's manual gives them as object names.
class TFrmPrincipal : public QMainWindow, private VisorDaExportacao {
    Q_OBJECT

public:
    TFrmPrincipal(TFDMExporta& dm, Dialogs& dialogs, QWidget* parent = nullptr);
    ~TFrmPrincipal() override;

    // Today's date; tests fix it.
    std::function<Date()> hoje;
    // Where runs write; tests put a failing device here.
    void usaArquivos(OutputFiles& arquivos) { m_arquivos = &arquivos; }

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
    // Checks the period in the fields without changing anything of the consult; lists every problem.
    void BtnVerificarClick();
    void BtnVanteroClick();
    void BtnCancelarDiretorioClick();
    void BtnContinuarClick();
    void BtnCancelarClick();
    void BtnFecharClick();

    bool runEmAndamento() const { return m_run != nullptr; }
    // From the window's first showing to the turn that fills the company list or shows why it could not.
    bool carregandoEmpresas() const { return m_empresasPendente; }
    // From the click to the turn that takes the consult's rows or its error.
    bool consultando() const { return m_consultaPendente; }
    bool verificando() const { return m_verificacaoPendente; }
    bool gravandoCsv() const { return m_gravacaoPendente; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The screen, built once.
    void montaTela();
    QWidget* montaParametros(QWidget* tela);
    void montaGrade(QWidget* tela);
    void montaStatus(QWidget* tela);
    void montaPainelPasta(QWidget* tela);
    void ordemDeTabulacao();
    void ligaControles();
    void afastaRotulos();

    void informa(const QString& texto);
    // A run or a consult uses the datasets: says so and refuses.
    bool ocupada();
    bool semConsulta();
    void terminaEmpresas();
    void terminaConsulta();
    void paraConsulta();
    void terminaVerificacao();
    // Saves what `grava` writes into a file the operator chooses, off the window's thread, and says so when it
    // cannot be written.
    void salvaCsv(const QString& sugestao, std::function<void(const Escrita&)> grava);
    void terminaGravacao();
    ArquivosDaExecucao arquivosDaExecucao() const;
    void apagaLivros();
    void reiniciaStatus();
    void reiniciaStatusDaExportacao();
    void terminaRun();

    // What a run shows, drawn by its host.
    void mostraProcessamento() override;
    void mostraMovimento(const QString& texto) override;
    void mostraArquivo(const QString& texto) override;
    void mostraGauge(int maximo, int posicao) override;
    void mostraTitulo(const QString& titulo) override;
    void mostraAviso(const QString& texto, MessageIcon icone, std::function<void()> aoFechar) override;
    void exportacaoTerminou(const ResultadoDaExportacao& resultado) override;

    TFDMExporta& m_dm;
    Dialogs& m_dialogs;
    Sessao m_sessao;
    std::unique_ptr<OutputFiles> m_disco;
    OutputFiles* m_arquivos;
    std::unique_ptr<WindowHost> m_host;
    std::unique_ptr<ThProcessa> m_run;
    // The company list comes off the window's thread too: a server that does not answer never freezes it.
    struct ListaDeEmpresas {
        std::vector<Empresa> empresas;
        QString erro;
        bool semConexao = false;
    };
    bool m_semConexao = false;
    bool semConexao();
    bool periodoInvertido();
    void iniciaExportacao();
    static std::string PastaInicial();
    QString falha(const std::exception& e) const;
    QFutureWatcher<ListaDeEmpresas> m_empresas;
    bool m_empresasPendente = false;
    // The consult's query runs off the window's thread; its result is the error's text, empty when none.
    QFutureWatcher<QString> m_consulta;
    bool m_consultaPendente = false;
    // The check runs off the window's thread too: its problems, or the error's text.
    struct Verificado {
        std::shared_ptr<const ResultadoDaVerificacao> resultado;  // shared with its window, never copied
        QString erro;
    };
    QFutureWatcher<Verificado> m_verificacao;
    bool m_verificacaoPendente = false;
    // Exported files read back off the window's thread: they may hold a million lines.
    struct Conferido {
        std::shared_ptr<const std::vector<ArquivoConferido>> arquivos;
        QString erro;
    };
    QFutureWatcher<Conferido> m_conferencia;
    bool m_conferenciaPendente = false;
    void MnuConferirClick();
    void terminaConferencia();
    // A CSV being saved: millions of problems make hundreds of megabytes. The error's text, empty when none.
    QFutureWatcher<QString> m_gravacao;
    bool m_gravacaoPendente = false;
    bool m_mostrada = false;
    QString m_legenda;
    QString m_pastaDigitada;                 // named in the completion message
    bool m_consultaValida = false;           // the fiscal rows are the consulted sales
    // The company of those sales: its purchases and nobody else's go with them, whatever the list shows since.
    std::int64_t m_empresaConsultada = 0;
    bool m_apagaLivrosAoTerminar = false;  // cancelled during a run

    QGroupBox* GpBxParametros;
    QComboBox* RxDBLkCbEMPRESA;
    QLineEdit* EdtCodEmpresa;
    QComboBox* CbxMes;
    QSpinBox* EdtDiaInicial;
    QSpinBox* EdtDiaFinal;
    QSpinBox* EdtAno;
    QPushButton* BtnConsultar;
    QPushButton* BtnVerificar;
    QTableView* DbGrdConsulta;
    SaidasModel* m_modelo;
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
};

}  // namespace zorla
