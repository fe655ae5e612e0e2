#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "data/DMVantero.h"
#include "export/Sessao.h"
#include "support/BancoDeTeste.h"
#include "support/EventosGravados.h"
#include "verificacao/TextosDaVerificacao.h"
#include "verificacao/Verificacao.h"
#include "verificacao/VerificacaoDoPeriodo.h"
#include "verificacao/VerificacaoParaASaida.h"

namespace zorla {
namespace {

const char* const kEmpresa =
    "INSERT INTO CIDADE (CODCIDADE, NOMECIDADE, ESTADO) VALUES (10, 'Campinas', 'SP');\n"
    "INSERT INTO CIDADE (CODCIDADE, NOMECIDADE, ESTADO) VALUES (11, 'Itu', 'SP');\n"
    "INSERT INTO EMPRESA (CODEMPRESA, FANTASIA, RAZAOSOCIAL, REGIMEFISCAL, CUSTOFIXO, IMPOSTOSOBREESPECIAL, ISS,"
    " ICMSESTADUAL, ORDEMPRECO, MESESCURVAABC, FREQCURVAABC, PERCCURVAA, PERCCURVAB, PERCCURVAC, CODCIDADE)"
    " VALUES (1, 'Empresa', 'Empresa Ltda', 'N', 0, 'N', 0, 0, 'A', 1, 'M', 1, 2, 3, 10);\n"
    "INSERT INTO CADASTRO (CODCADASTRO, NOME, CNPJ, CPF, CODCIDADE) VALUES ('OK', 'Bom', '11.222.333/0001-81', NULL,"
    " 11);\n";

std::string documento(const std::string& colunas, const std::string& valores) {
    return "INSERT INTO MOVESTOQUE (CODEMPRESA, " + colunas + ") VALUES (1, " + valores + ");\n";
}

std::string movimento(const std::string& colunas, const std::string& valores) {
    return "INSERT INTO MOVBANCARIO (" + colunas + ") VALUES (" + valores + ");\n";
}

// Every kind of problem, each once, and nothing else wrong.
std::string dadosComProblemas() {
    const std::string doc =
        "CODMOVESTOQUE, TIPOMOVIMENTO, DATAMOVIMENTO, DATADOCUMENTO, AGRUPAMENTO, SERIEDOC, NUMERODOC,"
        " CFOP, CODCADASTRO, VALOR, BASEICMS, ALIQUOTAICMS, OBSERVACAO";
    return std::string(kEmpresa) +
           "INSERT INTO CADASTRO (CODCADASTRO, NOME, CNPJ, CODCIDADE) VALUES ('CX', 'X', '11.222.333/0001-82', 10);\n"
           "INSERT INTO CADASTRO (CODCADASTRO, NOME, CPF, CODCIDADE) VALUES ('CY', 'Y', '123.456.789-01', 11);\n" +
           documento(doc,
                     "'P1', 'S', '2008-03-05', NULL, 'NFE', '1', 'NF12345678', '1102', 'CX', 1000000000.00,"
                     " 2000000000.00, 18, 'Linha 1' || ASCII_CHAR(13) || ASCII_CHAR(10) || RPAD('', 120, 'y')") +
           documento(doc,
                     "'P2', 'S', '2008-03-06', '2008-03-06', 'NFE', '1', '000777', '5102', NULL, 1, 1, 1000.00, NULL") +
           documento(doc, "'P3', 'S', '2008-03-07', '2008-03-07', 'NFE', '1', '000777', '5102', NULL, 1, 1, 18, NULL") +
           // A CFOP of no direction; a TAB past the six places of the number is never written.
           documento(doc,
                     "'P4', 'S', '2008-03-09', '2008-03-09', 'NFE', '1', '000888' || ASCII_CHAR(9), '4102', 'OK', 1,"
                     " 1, 18, NULL") +
           documento(doc + ", DATAAPURACAO",
                     "'E1', 'E', NULL, '2008-03-08', 'NFT', '2', '55', '5102', 'CY', 1, 1, 12, NULL,"
                     " '2008-03-10'") +
           movimento("CODMOVIMENTO, DATA, OPERACAO, DEVEDORA, CREDORA, NOMECREDOR, DOCUMENTO, VALOR",
                     "1, '2008-03-05', 'V', '1120003', NULL, 'Fulano', 'M1', 1") +
           movimento("CODMOVIMENTO, DATA, OPERACAO, DEVEDORA, CREDORA, NOMEDEVEDOR, DOCUMENTO, VALOR",
                     "2, '2008-03-06', 'C', '', '1120003', 'Beltrano', 'M2', 1") +
           movimento("CODMOVIMENTO, DATA, DATACOMPETENCIA, OPERACAO, DEVEDORA, CREDORA, DOCUMENTO, VALOR",
                     "3, NULL, '2008-03-07', 'F', '6110001', '1120003', 'ABCDEFGH', 10000000000.00") +
           movimento("CODMOVIMENTO, DATA, OPERACAO, VALOR", "4, '2008-03-08', 'T', 1");
}

// One sale, one purchase and a movement of each kind with nothing to say about them.
std::string dadosLimpos() {
    const std::string doc =
        "CODMOVESTOQUE, TIPOMOVIMENTO, DATAMOVIMENTO, DATADOCUMENTO, AGRUPAMENTO, SERIEDOC, NUMERODOC,"
        " CFOP, CODCADASTRO, VALOR, BASEICMS, ALIQUOTAICMS";
    std::string dados =
        std::string(kEmpresa) +
        documento(doc, "'S1', 'S', '2008-03-05', '2008-03-05', 'NFE', '1', '000123', '5102', 'OK', 10, 10, 18") +
        documento(doc, "'E1', 'E', '2008-03-06', '2008-03-06', 'NFT', '1', '000456', '1102', 'OK', 5, 5, 12");
    int codigo = 0;
    for (const char* operacao : {"V", "C", "F"})
        dados += movimento("CODMOVIMENTO, DATA, OPERACAO, DEVEDORA, CREDORA, DOCUMENTO, PARCELA, VALOR, HISTORICO",
                           std::to_string(++codigo) + ", '2008-03-05', '" + operacao +
                               "', '1120003', '6110001', '12345', 1, 12.34, 'Tarifa'");
    return dados;
}

class Verificacao : public ::testing::Test {
protected:
    ResultadoDaVerificacao verifica(const std::string& dados) {
        dm.reset();  // the embedded engine must let the file go before it is made anew
        banco.recria(dados);
        dm = std::make_unique<TFDMExporta>(banco.ini());
        using namespace std::chrono;
        return Verifica(*dm, PeriodoDoMes(1, 31, 3, 2008), 1);
    }
    // The run of the same period, as the command line makes it.
    ResultadoDaExportacao exporta() {
        Sessao sessao(banco.ini());
        OuRecusa<SaidaPreparada> saida =
            sessao.preparaSaida(PedidoDeExportacao{banco.dir.folder(), PeriodoDoMes(1, 31, 3, 2008), 1, "0001"});
        EXPECT_TRUE(saida);
        return sessao.exporta(std::move(*saida), eventos, {})->resultado();
    }

    test::BancoDeTeste banco{""};
    std::unique_ptr<TFDMExporta> dm;
    test::EventosGravados eventos;
};

TEST_F(Verificacao, ListsEveryKindOfProblemOnce) {
    const ResultadoDaVerificacao r = verifica(dadosComProblemas());
    const char* const kSemData = "Caixa/Banco, documento ABCDEFGH, R$ 10.000.000.000,00";
    using P = std::tuple<Gravidade, std::string, std::string>;
    std::vector<P> achados;
    for (const Problema& p : r.problemas) achados.emplace_back(p.gravidade, p.documento, p.campo);
    const auto E = Gravidade::Erro, A = Gravidade::Aviso;
    std::vector<P> esperados = {
        {E, "Venda NF12345678", "VALOR"},
        {E, "Venda NF12345678", "BASEICMS"},
        {E, "Venda 000777", "ALIQUOTAICMS"},
        // A movement named as an operator finds it: date, document, instalment, amount, parties. Without an
        // account it is written all the same, as a pendência.
        {A, "Caixa/Banco 05/03/2008, documento M1, R$ 1,00, Fulano", "CREDORA"},
        {A, "Caixa/Banco 06/03/2008, documento M2, R$ 1,00, Beltrano", "DEVEDORA"},
        {E, kSemData, "VALOR"},
        {A, "Venda NF12345678", "DATADOCUMENTO"},
        {A, "Venda NF12345678", "CNPJ"},
        {A, "Venda NF12345678", "CFOP"},
        {A, "Venda NF12345678", "NUMERODOC"},
        {A, "Venda NF12345678", "OBSERVACAO"},
        {A, "Venda NF12345678", "OBSERVACAO"},
        {A, "Venda NF12345678", "CIDADECLIENTE"},
        {A, "Venda 000777", "CNPJ/CPF"},
        {A, "Venda 000777", "CNPJ/CPF"},
        {A, "Venda 000777", "NUMERODOC"},
        {A, "Compra 55", "DATAMOVIMENTO"},
        {A, "Compra 55", "CPF"},
        {A, "Compra 55", "CFOP"},
        {A, kSemData, "DATA"},
        {A, kSemData, "DOCUMENTO"},
        {A, "Venda 000888<TAB>", "CFOP"},
        {A, "Venda 000888<TAB>", "NUMERODOC"},  // cut at six places; its TAB is never written
    };
    std::sort(achados.begin(), achados.end());
    std::sort(esperados.begin(), esperados.end());
    EXPECT_EQ(achados, esperados);
    EXPECT_EQ(r.erros(), 4);
    EXPECT_EQ(r.avisos(), 19);
    const auto repetido = std::find_if(r.problemas.begin(), r.problemas.end(), [](const Problema& p) {
        return p.problema.find("repetido") != std::string::npos;
    });
    ASSERT_NE(repetido, r.problemas.end());
    EXPECT_EQ(repetido->valor, "NFE/1  /000777");
    EXPECT_NE(repetido->problema.find("2 vezes"), std::string::npos);
    // What stops the export comes first; a cut text shows what is written.
    EXPECT_TRUE(std::is_partitioned(r.problemas.begin(), r.problemas.end(),
                                    [](const Problema& p) { return p.gravidade == Gravidade::Erro; }));
    const auto cidade = std::find_if(r.problemas.begin(), r.problemas.end(),
                                     [](const Problema& p) { return p.campo == "CIDADECLIENTE"; });
    ASSERT_NE(cidade, r.problemas.end());
    EXPECT_EQ(cidade->valor, "Campinas");
    EXPECT_EQ(cidade->problema, "texto cortado em 7 posições: vai \"Campina\"");
    EXPECT_EQ(ColunasDoProblema(*cidade)[2], "Cidade do cliente (CIDADECLIENTE)");
    EXPECT_EQ(ContagemDosProblemas(r), "4 erros, 19 avisos");
}

// Written out as it is read, holding only the errors, on one attachment or on three: the same text as the list's.
TEST_F(Verificacao, WrittenAsItIsReadItSaysWhatTheListSays) {
    const ResultadoDaVerificacao r = verifica(dadosComProblemas());
    const ConsultaParalela::NovoModulo outro = [&] {
        auto d = std::make_unique<TFDMExporta>(banco.ini());
        d->Conecta();
        return d;
    };
    for (bool csv : {false, true}) {
        for (const ConsultaParalela::NovoModulo& novo : {ConsultaParalela::NovoModulo{}, outro}) {
            SCOPED_TRACE(std::string(csv ? "csv" : "tabela") + (novo ? ", em paralelo" : ""));
            std::string texto;
            const ContagemDaVerificacao c = VerificaParaASaida(*dm, PeriodoDoMes(1, 31, 3, 2008), 1, novo, csv,
                                                               [&](std::string_view parte) { texto += parte; });
            EXPECT_EQ(texto, csv ? CsvDaVerificacao(r) : TabelaDaVerificacao(r));
            EXPECT_EQ(c.erros, 4);
            EXPECT_EQ(c.avisos, 19);
        }
    }
}

TEST_F(Verificacao, ACleanPeriodHasNothingToSayAndExportsWithoutABox) {
    EXPECT_TRUE(verifica(dadosLimpos()).problemas.empty());
    EXPECT_EQ(exporta().desfecho, Desfecho::Concluido);
    EXPECT_TRUE(eventos.avisos().empty());
}

TEST_F(Verificacao, AgreesWithTheRun) {
    // Every movement without an account is a warning of the check and a box of the run, no more, no less: the run
    // writes it all the same, as a pendência.
    std::string semContas = dadosLimpos();
    for (int i = 0; i < 3; ++i)
        semContas += movimento("CODMOVIMENTO, DATA, OPERACAO, DEVEDORA, CREDORA, NOMECREDOR, DOCUMENTO, VALOR",
                               std::to_string(10 + i) + ", '2008-03-09', 'F', '1120003', NULL, 'Sem conta', 'S', 1");
    const ResultadoDaVerificacao r = verifica(semContas);
    EXPECT_EQ(r.erros(), 0);
    EXPECT_EQ(r.avisos(), 3);
    EXPECT_EQ(exporta().desfecho, Desfecho::Concluido);
    EXPECT_EQ(eventos.avisos().size(), 3u);
    // Over-wide amounts: the check lists each of them, the run stops at the first.
    verifica(dadosComProblemas());
    const ResultadoDaExportacao run = exporta();
    EXPECT_EQ(run.desfecho, Desfecho::Falhou);
    EXPECT_NE(run.erro.find("Documento NF12345678: o valor 1000000000,00 do campo VALOR não cabe em 11 posições."),
              std::string::npos)
        << run.erro;
}

}  // namespace
}  // namespace zorla
