#include <gtest/gtest.h>

#include <QObject>
#include <QTest>
#include <thread>

#include "ui/EventosNaJanela.h"
#include "ui/VisorDaExportacao.h"

namespace zorla {
namespace {

// Records what the host draws, as the window would show it.
class VisorGravado : public VisorDaExportacao {
public:
    void mostraProcessamento() override { painel = true; }
    void mostraMovimento(const QString& t) override { movimento = t; }
    void mostraArquivo(const QString& t) override { arquivo = t; }
    void mostraGauge(int m, int p) override { gauges.emplace_back(m, p); }
    void mostraTitulo(const QString& t) override { titulo = t; }
    void mostraAviso(const QString& t, MessageIcon, std::function<void()> aoFechar) override {
        avisos << t;
        aoFechar();
    }
    void exportacaoTerminou(const ResultadoDaExportacao& r) override { fim = r.desfecho; }

    bool painel = false;
    QString movimento, arquivo, titulo;
    std::vector<std::pair<int, int>> gauges;
    QStringList avisos;
    std::optional<Desfecho> fim;
};

class Host : public ::testing::Test {
protected:
    QObject dono;
    VisorGravado visor;
    EventosNaJanela host{visor, &dono};
};

// Each event drawn as the window draws it, one turn of the window after another.
TEST_F(Host, DrawsTheTextsOfARun) {
    struct Passo {
        std::function<void()> evento;
        const char* movimento;
        const char* arquivo;
        const char* titulo;
        std::pair<int, int> gauge;
    };
    const Passo passos[] = {
        {[&] { host.arquivoIniciado(TipoArquivo::LivroSaidas, "/saida/01A31MAR.SAI"); }, "", "", "", {0, 0}},
        {[&] { host.etapaIniciada(Etapa::LivroSaidas, 2); }, "Gerando arquivo...", "ARQUIVO: 01A31MAR.SAI", "", {2, 0}},
        {[&] { host.registroFeito(1, "S\xE3o1"); },
         "Movimento: São1. Gerando, aguarde...",
         "ARQUIVO: 01A31MAR.SAI",
         "1 gerando...",
         {2, 1}},
        {[&] { host.registroFeito(2, "S2"); },
         "Movimento: S2. Gerando, aguarde...",
         "ARQUIVO: 01A31MAR.SAI",
         "2 gerando...",
         {2, 2}},
        {[&] { host.arquivoIniciado(TipoArquivo::LivroEntradas, "/saida/01A31MAR.ENT"); },
         "Movimento: S2. Gerando, aguarde...",
         "ARQUIVO: 01A31MAR.ENT",
         "2 gerando...",
         {2, 2}},
        {[&] { host.etapaIniciada(Etapa::LivroEntradas, 1); },
         "Gerando arquivo...",
         "ARQUIVO: 01A31MAR.ENT",
         "2 gerando...",
         {1, 0}},
        {[&] { host.registroFeito(1, "E1"); },
         "Movimento: E1. Gerando, aguarde...",
         "ARQUIVO: 01A31MAR.ENT",
         "1 gerando...",
         {1, 1}},
        {[&] { host.etapaIniciada(Etapa::MovimentoBancario, 3); },
         "Movimento: E1. Gerando, aguarde...",
         "ARQUIVO: 01A31MAR.ENT",
         "1 gerando...",
         {3, 0}},
        {[&] { host.arquivoIniciado(TipoArquivo::Recebimentos, "/saida/ctr01A31MAR.txt"); },
         "Movimento de Caixa/Banco: Recebimentos, aguarde...",
         "ARQUIVO: 01A31MAR.ENT",
         "1 gerando...",
         {3, 0}},
        {[&] { host.registroFeito(1, {}); },
         "Movimento de Caixa/Banco: Recebimentos, aguarde...",
         "ARQUIVO: 01A31MAR.ENT",
         "1 gerando...",
         {3, 1}},
        {[&] { host.arquivoIniciado(TipoArquivo::Pagamentos, "/saida/pag01A31MAR.txt"); },
         "Movimento de Caixa/Banco: Pagamentos, aguarde...",
         "ARQUIVO: 01A31MAR.ENT",
         "1 gerando...",
         {3, 1}},
        {[&] { host.arquivoIniciado(TipoArquivo::DespesasGerais, "/saida/fca01A31MAR.txt"); },
         "Movimento de Caixa/Banco: Despeses gerais, aguarde...",
         "ARQUIVO: 01A31MAR.ENT",
         "1 gerando...",
         {3, 1}},
    };
    host.inicia();
    for (const Passo& p : passos) {
        p.evento();
        host.aplica();
        SCOPED_TRACE(p.movimento);
        EXPECT_EQ(visor.movimento, QString::fromUtf8(p.movimento));
        EXPECT_EQ(visor.arquivo, QString::fromUtf8(p.arquivo));
        EXPECT_EQ(visor.titulo, QString::fromUtf8(p.titulo));
        const std::pair<int, int> gauge = visor.gauges.empty() ? std::pair{0, 0} : visor.gauges.back();
        EXPECT_EQ(gauge, p.gauge);
    }
    EXPECT_TRUE(visor.painel);
    host.terminou(ResultadoDaExportacao{Desfecho::Cancelado, "", {}, {}, {}});
    host.aplica();
    EXPECT_EQ(visor.fim, Desfecho::Cancelado);
}

TEST_F(Host, EachStageIsShownToItsEndBeforeTheNextBegins) {
    host.inicia();
    // Without waiting, the last position of the first stage would be merged with the smaller maximum of the
    // next one and never shown.
    std::thread worker([&] {
        host.etapaIniciada(Etapa::LivroSaidas, 1000);
        for (int i = 1; i <= 1000; ++i) host.registroFeito(i, "M");
        host.etapaIniciada(Etapa::LivroEntradas, 5);
        host.registroFeito(2, "E");
        host.aviso(Aviso{Aviso::Tipo::SemContaContabil, "Jos\xC3\xA9\r\nsem código contábil definido."});
        host.terminou(ResultadoDaExportacao{});
    });
    const bool fim = QTest::qWaitFor([&] { return visor.fim.has_value(); }, 10000);
    host.fecha();
    worker.join();
    ASSERT_TRUE(fim);
    EXPECT_NE(std::find(visor.gauges.begin(), visor.gauges.end(), std::pair{1000, 1000}), visor.gauges.end());
    EXPECT_EQ(visor.gauges.back(), (std::pair{5, 2}));
    EXPECT_LT(visor.gauges.size(), 1000u);  // merged, not one drawing per record
    EXPECT_EQ(visor.avisos, QStringList{"José\r\nsem código contábil definido."});
}

}  // namespace
}  // namespace zorla
