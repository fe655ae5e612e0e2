#include "ui/ControleDaExportacao.h"

#include <filesystem>

#include "base/Caminho.h"
#include "export/Sessao.h"
#include "ui/EventosNaJanela.h"

namespace zorla {

ControleDaExportacao::ControleDaExportacao(Sessao& sessao, VisorDaExportacao& visor, QObject* dono)
    : m_sessao(sessao), m_host(std::make_unique<EventosNaJanela>(visor, dono)) {}

ControleDaExportacao::~ControleDaExportacao() {
    fecha();
    m_run.reset();  // waits for the worker, which reports to the host
}

void ControleDaExportacao::inicia(SaidaPreparada saida) {
    Exportando = true;
    Cancelado = false;
    m_diretorioAApagar.clear();
    m_parada = std::stop_source();
    m_host->inicia();
    m_run = m_sessao.inicia(std::move(saida), *m_host, m_parada.get_token(), m_arquivos);
}

void ControleDaExportacao::cancela(const std::string& diretorio, const std::string& nomeArquivo) {
    Cancelado = true;
    Exportando = false;
    m_parada.request_stop();
    // What the run still reports is not shown: the status stays reset.
    m_host->ignoraStatus();
    // Nothing is removed while a run still writes; it goes once the run has closed its files.
    if (emAndamento()) {
        m_diretorioAApagar = diretorio;
        m_nomeAApagar = nomeArquivo;
    } else {
        apagaLivros(diretorio, nomeArquivo);
    }
}

void ControleDaExportacao::fecha() {
    Cancelado = true;
    m_parada.request_stop();
    m_host->fecha();
}

void ControleDaExportacao::termina() {
    Exportando = false;
    if (!m_run) return;
    m_run->espera();
    // The cancelled run has closed its files: neither partial fiscal book remains.
    if (!m_diretorioAApagar.empty()) apagaLivros(std::exchange(m_diretorioAApagar, {}), m_nomeAApagar);
    m_run.reset();  // lets the folder go
}

void ControleDaExportacao::apagaLivros(const std::string& diretorio, const std::string& nomeArquivo) {
    // Before any folder or consult the names would point into the current directory: nothing of ours is there.
    if (diretorio.empty() || nomeArquivo.empty()) return;
    for (TipoArquivo tipo : {TipoArquivo::LivroSaidas, TipoArquivo::LivroEntradas}) {
        std::error_code ec;
        std::filesystem::remove(CaminhoDoSistema(CaminhoDoArquivo(tipo, diretorio, nomeArquivo)), ec);
    }
}

}  // namespace zorla
