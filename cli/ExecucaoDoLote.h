#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/Periodo.h"
#include "cli/AndamentoDoLote.h"
#include "cli/Argumentos.h"
#include "cli/CsvDoLote.h"
#include "cli/Lote.h"
#include "cli/TabelaDoLote.h"

namespace zorla {

class SinaisDeParada;
class Sessao;

// One batch under way: its lines on threads of their own, as many at once as allowed and as the embedded database
// files let run together (no two exports share a folder: that is refused before; a check writes none). Each line
// goes through the gate of its own session; the program's stop stops every line.
class ExecucaoDoLote {
public:
    ExecucaoDoLote(const Argumentos& args, std::vector<ItemDoLote> itens, SinaisDeParada& sinais);
    ~ExecucaoDoLote();
    // Runs every line, or as many as a stop leaves; the exit status.
    int executa();
    // For a program about to end on a stop that the lines did not heed in time (a server that does not answer):
    // which lines ended, which were stopped under way, which never started.
    void imprimeAoDesistir() const;
    // The completed exports' results, by line, for their totals.
    std::vector<std::pair<LinhaDoLote, const ResultadoDaExportacao*>> concluidas() const;

private:
    struct Fim {
        AndamentoDoLote::Estado estado = AndamentoDoLote::Estado::Falhou;
        std::string erro;
    };
    bool podeIniciar(std::size_t i) const;
    void iniciaOsQuePuderem();
    void trabalho(std::size_t i);
    Fim executaItem(std::size_t i);
    Fim exporta(std::size_t i, Sessao& sessao);
    void termina(std::size_t i, AndamentoDoLote::Estado estado, std::string erro);
    void mostraProgresso();
    void imprimeResultado() const;
    int status() const;

    const Argumentos& m_args;
    std::vector<ItemDoLote> m_itens;
    SinaisDeParada& m_sinais;
    Periodo m_periodo;
    bool m_terminal;
    mutable std::mutex m_mutex;
    std::condition_variable m_mudou;
    std::vector<std::unique_ptr<AndamentoDoLote>> m_andamentos;
    TabelaDoLote m_tabela{m_itens, m_andamentos};
    std::vector<std::thread> m_threads;
    int m_rodando = 0;
};

}  // namespace zorla
