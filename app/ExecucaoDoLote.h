#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/CliArgs.h"
#include "app/Lote.h"
#include "base/Periodo.h"
#include "export/EventosDaExportacao.h"
#include "export/Resumo.h"
#include "export/Verificacao.h"

namespace zorla {

class SinaisDeParada;
class Sessao;

// One batch under way: its exports on threads of their own, as many at once as allowed and as the embedded
// database files let run together (no two exports share a folder: that is refused before; a check writes none).
class ExecucaoDoLote {
public:
    ExecucaoDoLote(const CliArgs& args, std::vector<ItemDoLote> itens, SinaisDeParada& sinais);
    ~ExecucaoDoLote();
    // Runs every line, or as many as a cancel leaves; the exit status.
    int executa();
    // The completed exports' results, by line, for their totals.
    std::vector<std::pair<LinhaDoLote, const ResultadoDaExportacao*>> concluidas() const;

    // What one line of the batch has come to.
    struct Andamento {
        enum class Estado { Esperando, Rodando, Concluida, ComPendencias, Falhou, Cancelada };
        Estado estado = Estado::Esperando;
        std::string erro;
        ResultadoDaExportacao resultado;
        ResultadoDaVerificacao verificacao;
        std::atomic<int> posicao{0}, maximo{0};
        Sessao* sessao = nullptr;  // while it runs, for the cancel to reach its statement
        std::string banco;               // an embedded database file, which two exports may not share
        bool relatado = false;           // its end has been told
    };

private:
    bool podeIniciar(std::size_t i) const;
    void iniciaOsQuePuderem();
    struct Fim {
        Andamento::Estado estado = Andamento::Estado::Falhou;
        std::string erro;
    };
    void trabalho(std::size_t i);
    Fim executaItem(std::size_t i);
    Fim exporta(std::size_t i, Sessao& sessao);
    void termina(std::size_t i, Andamento::Estado estado, std::string erro);
    void mostraProgresso(bool mudou);
    std::string rotulo(std::size_t i) const;
    LinhaDoLote linhaDoLote(std::size_t i) const;
    void imprimeResultado() const;
    void imprimeVerificacoes() const;
    void imprimeDepoisDaTabela() const;
    int status() const;

    const CliArgs& m_args;
    std::vector<ItemDoLote> m_itens;
    SinaisDeParada& m_sinais;
    Periodo m_periodo;
    bool m_terminal;
    mutable std::mutex m_mutex;
    std::condition_variable m_mudou;
    std::vector<std::unique_ptr<Andamento>> m_andamentos;
    std::vector<std::thread> m_threads;
    int m_rodando = 0;
};

}  // namespace zorla
