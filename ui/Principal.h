#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/Escrita.h"
#include "base/Value.h"
#include "conferencia/ConferenciaDeArquivos.h"
#include "export/ArquivosDaExecucao.h"
#include "export/Sessao.h"
#include "ui/ControleDaComparacao.h"
#include "ui/ControleDaExportacao.h"
#include "ui/TrabalhoForaDaJanela.h"
#include "ui/VisorDaExportacao.h"

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
class DestinoDosArquivos;
class SaidasModel;

// The operator window: parameters, consult grid, export control and status. Its controls carry the names the
// operator's manual gives them as object names.
class TFrmPrincipal : public QMainWindow, private VisorDaExportacao {
    Q_OBJECT

public:
    TFrmPrincipal(Sessao& sessao, Dialogs& dialogs, QWidget* parent = nullptr);
    ~TFrmPrincipal() override;

    // Today's date; tests fix it.
    std::function<Date()> hoje;
    // Where runs write; tests put a failing device here.
    void usaArquivos(DestinoDosArquivos& arquivos) { m_exportacao.usaArquivos(arquivos); }

    // Window fields shared with the run.
    Date DataAtual{};
    Date DataInicial{};
    Date DataFinal{};
    std::string MesAbrev;
    std::string NomeArquivo;
    std::string Diretorio;

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

    // The run's state: its flags, and whether one is under way.
    ControleDaExportacao& exportacao() { return m_exportacao; }
    bool runEmAndamento() const { return m_exportacao.emAndamento(); }
    // From the window's first showing to the turn that fills the company list or shows why it could not.
    bool carregandoEmpresas() const { return m_empresas.pendente(); }
    // From the click to the turn that takes the consult's rows or its error.
    bool consultando() const { return m_consulta.pendente(); }
    bool verificando() const { return m_verificacao.pendente(); }
    bool gravandoCsv() const { return m_gravacao.pendente(); }
    bool comparando() const { return m_comparacao.pendente(); }

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
    void mostraErroPadrao(const QString& erro);
    // A run or a consult uses the datasets: says so and refuses.
    bool ocupada();
    bool semConsulta();
    bool semConexao();
    bool periodoInvertido();
    void terminaEmpresas(std::vector<Empresa> empresas);
    void terminaConsulta();
    void terminaVerificacao(std::shared_ptr<const ResultadoDaVerificacao> resultado);
    void MnuConferirClick();
    void MnuCompararClick();
    void terminaComparacao(std::shared_ptr<const ResultadoDaComparacao> resultado);
    // Saves what `grava` writes into a file the operator chooses, off the window's thread, and says so when it
    // cannot be written.
    void salvaCsv(const QString& sugestao, std::function<void(const Escrita&)> grava);
    ArquivosDaExecucao arquivosDaExecucao() const;
    void preparaSaida(bool criaPasta, bool substitui);
    void iniciaExportacao(SaidaPreparada saida);
    static std::string PastaInicial();
    QString falha(const std::exception& e) const;
    void reiniciaStatus();
    void reiniciaStatusDaExportacao();
    void terminaRun();
    // Closing waits for the work off the window's thread to end, then closes for good.
    bool algoRodando() const;
    void fechaSeAcabou();

    // What a run shows, drawn by its host.
    void mostraProcessamento() override;
    void mostraMovimento(const QString& texto) override;
    void mostraArquivo(const QString& texto) override;
    void mostraGauge(int maximo, int posicao) override;
    void mostraTitulo(const QString& titulo) override;
    void mostraAviso(const QString& texto, MessageIcon icone, std::function<void()> aoFechar) override;
    void exportacaoTerminou(const ResultadoDaExportacao& resultado) override;

    Sessao& m_sessao;
    Dialogs& m_dialogs;
    ControleDaExportacao m_exportacao;
    // The company list, the consult and the check come off the window's thread: a server that does not answer never
    // freezes it; exported files read back and CSV files saved too, for they may hold millions of lines.
    TrabalhoForaDaJanela<std::vector<Empresa>> m_empresas;
    TrabalhoForaDaJanela<bool> m_consulta;
    TrabalhoForaDaJanela<std::shared_ptr<const ResultadoDaVerificacao>> m_verificacao;
    TrabalhoForaDaJanela<std::shared_ptr<const std::vector<ArquivoConferido>>> m_conferencia;
    TrabalhoForaDaJanela<bool> m_gravacao;
    ControleDaComparacao m_comparacao;
    bool m_semConexao = false;
    bool m_mostrada = false;
    bool m_fechando = false;
    QString m_legenda;
    QString m_pastaDigitada;  // named in the completion message
    // The company of those sales: its purchases and nobody else's go with them, whatever the list shows since.
    std::int64_t m_empresaConsultada = 0;

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
