#include "verificacao/VerificacaoParaASaida.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "verificacao/TabelaDeProblemas.h"
#include "verificacao/TextosDaVerificacao.h"
#include "verificacao/Verificacao.h"
#include "verificacao/VerificacaoDaConsulta.h"
#include "verificacao/VerificacaoDoPeriodo.h"

namespace zorla {

namespace {

// A query's problems as they are found: its errors in memory, its warnings in an anonymous temporary file (in
// memory too where the system gives none), each measured for the table on its way.
class ProblemasGuardados : public DestinoDosProblemas {
public:
    explicit ProblemasGuardados(bool mede) : m_mede(mede), m_arquivo(std::tmpfile(), &std::fclose) {}

    void achou(Problema p) override {
        if (m_mede) m_tabela.mede(p);
        if (p.gravidade == Gravidade::Erro) {
            m_erros.push_back(std::move(p));
            return;
        }
        ++m_quantosAvisos;
        if (!m_arquivo) {
            m_avisos.push_back(std::move(p));
            return;
        }
        for (const std::string* t : {&p.documento, &p.campo, &p.valor, &p.problema}) grava(*t);
        if (m_bloco.size() >= kBloco) esvazia();
    }

    const std::vector<Problema>& erros() const { return m_erros; }
    long avisos() const { return m_quantosAvisos; }
    const TabelaDeProblemas& tabela() const { return m_tabela; }

    void paraCadaAviso(const std::function<void(const Problema&)>& faz) {
        for (const Problema& p : m_avisos) faz(p);
        if (!m_arquivo) return;
        esvazia();
        std::FILE* f = m_arquivo.get();
        if (std::fflush(f) != 0 || std::fseek(f, 0, SEEK_SET) != 0) falha();
        Problema p;
        for (long i = static_cast<long>(m_avisos.size()); i < m_quantosAvisos; ++i) {
            for (std::string* t : {&p.documento, &p.campo, &p.valor, &p.problema}) le(*t);
            faz(p);
        }
    }

private:
    // Written and read back in blocks: a call of the C library per text, millions of them, took longer than the
    // texts themselves.
    static constexpr std::size_t kBloco = std::size_t{1} << 20;

    void grava(const std::string& t) {
        const auto n = static_cast<std::uint32_t>(t.size());
        m_bloco.append(reinterpret_cast<const char*>(&n), sizeof n);
        m_bloco += t;
    }
    void esvazia() {
        if (std::fwrite(m_bloco.data(), 1, m_bloco.size(), m_arquivo.get()) != m_bloco.size()) falha();
        m_bloco.clear();
    }
    void le(std::string& t) {
        std::uint32_t n = 0;
        std::memcpy(&n, tem(sizeof n), sizeof n);
        const char* texto = tem(sizeof n + n) + sizeof n;
        t.assign(texto, n);
        m_lido += sizeof n + n;
    }
    // The next `n` bytes of the file, read in blocks.
    const char* tem(std::size_t n) {
        if (m_bloco.size() - m_lido < n) {
            m_bloco.erase(0, m_lido);
            m_lido = 0;
            const std::size_t antes = m_bloco.size();
            m_bloco.resize(antes + std::max(n, kBloco));
            const std::size_t lidos = std::fread(m_bloco.data() + antes, 1, m_bloco.size() - antes, m_arquivo.get());
            m_bloco.resize(antes + lidos);
            if (m_bloco.size() < n) falha();
        }
        return m_bloco.data() + m_lido;
    }
    [[noreturn]] static void falha() {
        throw std::runtime_error(std::string("Não foi possível guardar os avisos da verificação num arquivo "
                                             "temporário (") +
                                 std::strerror(errno) + "). Libere espaço na pasta temporária e verifique de novo.");
    }

    bool m_mede;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> m_arquivo;
    std::vector<Problema> m_erros;
    std::deque<Problema> m_avisos;
    long m_quantosAvisos = 0;
    std::string m_bloco;  // to the file, then from it
    std::size_t m_lido = 0;
    TabelaDeProblemas m_tabela;
};

}  // namespace

ContagemDaVerificacao VerificaParaASaida(TFDMExporta& dm, const Periodo& periodo, std::int64_t empresa,
                                         const ConsultaParalela::NovoModulo& novoModulo, bool csv,
                                         const Escrita& escreve, std::stop_token parada) {
    ProblemasGuardados guardados[] = {ProblemasGuardados(!csv), ProblemasGuardados(!csv), ProblemasGuardados(!csv)};
    VerificaNosDestinos(dm, periodo, empresa, novoModulo, {&guardados[0], &guardados[1], &guardados[2]}, parada);
    TabelaDeProblemas tabela;
    ContagemDaVerificacao contagem;
    for (const ProblemasGuardados& g : guardados) {
        tabela.junta(g.tabela());
        contagem.erros += static_cast<long>(g.erros().size());
        contagem.avisos += g.avisos();
    }
    // Out in blocks too, not a line at a time.
    std::string bloco;
    const auto escreveUm = [&](const Problema& p) {
        if (csv)
            bloco += LinhaCsvDoProblema(p);
        else
            tabela.acrescentaLinha(p, bloco);
        if (bloco.size() >= 64 * 1024) escreve(std::exchange(bloco, {}));
    };
    bloco = csv ? CabecalhoCsvDaVerificacao() : tabela.cabecalho();
    for (const ProblemasGuardados& g : guardados)
        for (const Problema& p : g.erros()) escreveUm(p);
    for (ProblemasGuardados& g : guardados) g.paraCadaAviso(escreveUm);
    if (!csv) bloco += ContagemDosProblemas(contagem.erros, contagem.avisos) + "\n";
    escreve(bloco);
    return contagem;
}

}  // namespace zorla
