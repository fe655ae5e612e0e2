#include "cli/Argumentos.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <map>
#include <stdexcept>
#include <thread>

#include "base/Cp1252.h"
#include "base/Formatacao.h"
#include "base/Periodo.h"
#include "base/TextUtil.h"
#include "export/PedidoDeExportacao.h"

namespace zorla {

namespace {

// A number in its range, or what is accepted.
int inteiro(const std::string& opcao, const std::string& texto, int minimo, int maximo) {
    int valor = 0;
    auto [fim, erro] = std::from_chars(texto.data(), texto.data() + texto.size(), valor);
    if (erro != std::errc() || fim != texto.data() + texto.size() || valor < minimo || valor > maximo)
        throw std::invalid_argument("valor inválido para " + opcao + ": '" + texto + "' (aceita de " +
                                    std::to_string(minimo) + " a " + std::to_string(maximo) + ")");
    return valor;
}

// Every option is taken as text, each occurrence kept, and checked here: the operator reads the same words
// whatever went wrong.
class Opcoes {
public:
    explicit Opcoes(CLI::App& app) : m_app(app) {}
    void declara(const std::string& nome, const std::string& tipo, const std::string& sentido) {
        m_app.add_option(nome, m_valores[nome], sentido)
            ->type_name(tipo)
            ->expected(1)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    }
    void declaraChave(const std::string& nome, const std::string& sentido) {
        m_app.add_flag(nome, m_chaves[nome], sentido);
    }
    // An option of two values, given once.
    void declaraPar(const std::string& nome, const std::string& tipo, const std::string& sentido) {
        m_app.add_option(nome, m_pares[nome], sentido)
            ->type_name(tipo)
            ->expected(2)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    }
    std::optional<std::pair<std::string, std::string>> par(const std::string& nome) const {
        const std::vector<std::string>& v = m_pares.at(nome);
        if (v.empty()) return std::nullopt;
        if (v.size() % 2 != 0) throw std::invalid_argument(nome + " pede dois caminhos: ANTES DEPOIS");
        if (v.size() > 2) throw std::invalid_argument("opção repetida: " + nome);
        return std::pair{v[0], v[1]};
    }
    bool tem(const std::string& nome) const {
        auto v = m_valores.find(nome);
        const auto c = m_chaves.find(nome);
        const auto p = m_pares.find(nome);
        return (v != m_valores.end() && !v->second.empty()) || (c != m_chaves.end() && c->second > 0) ||
               (p != m_pares.end() && !p->second.empty());
    }
    // The option's value; refused when given twice.
    std::optional<std::string> valor(const std::string& nome) const {
        const std::vector<std::string>& v = m_valores.at(nome);
        if (v.empty()) return std::nullopt;
        if (v.size() > 1) throw std::invalid_argument("opção repetida: " + nome);
        return v[0];
    }
    void semRepeticoes() const {
        for (const auto& [nome, v] : m_valores) valor(nome);
        for (const auto& [nome, n] : m_chaves)
            if (n > 1) throw std::invalid_argument("opção repetida: " + nome);
        for (const auto& [nome, v] : m_pares) par(nome);
    }

private:
    CLI::App& m_app;
    std::map<std::string, std::vector<std::string>> m_valores;
    std::map<std::string, int> m_chaves;
    std::map<std::string, std::vector<std::string>> m_pares;
};

void declaraOpcoes(Opcoes& o) {
    o.declara("--empresa", "N", "número da empresa no banco ZORLA (CODEMPRESA)");
    o.declara("--codigo", "TEXTO", "código da empresa para o Lumetra, até 4 caracteres, em cada registro");
    o.declara("--mes", "M", "mês do período, de 1 a 12");
    o.declara("--ano", "AAAA", "ano do período");
    o.declara("--dia-inicial", "D", "primeiro dia do período (padrão: 1)");
    o.declara("--dia-final", "D", "último dia do período (padrão: o último do mês)");
    o.declara("--saida", "PASTA", "pasta onde os cinco arquivos são gravados");
    o.declara("--config", "ARQUIVO", "arquivo de conexão (padrão: dbxconnections.ini ao lado do programa)");
    o.declara(
        "--tempo-limite", "SEGUNDOS",
        "cancela a exportação que passar desse tempo; com o servidor parado, o programa termina até 3 segundos depois");
    o.declaraChave("--verificar", "verifica o período sem gravar nada; saída 0 sem problemas, 3 só avisos, 4 erros");
    o.declara(
        "--formato", "csv",
        "com --verificar: a tabela em CSV; com --conferir e um arquivo: seus registros em CSV (code page 1252, ;)");
    o.declara("--resumo", "ARQUIVO.csv", "grava também os totais da exportação nesse arquivo CSV");
    o.declaraChave("--substituir",
                   "substitui na pasta os arquivos de mesmo nome de outra exportação (outro ano, outra empresa) ou que "
                   "não são de exportação; sem ela, a exportação é recusada (saída 2)");
    o.declaraChave("--listar-empresas", "lista código, nome fantasia e CNPJ das empresas da conexão");
    o.declara("--lote", "ARQUIVO", "exporta um lote: conexão;empresa;código;pasta por linha");
    o.declara("--tarefas", "N", "com --lote: exportações ao mesmo tempo (padrão: o número de núcleos)");
    o.declara("--conferir", "CAMINHO",
              "confere um arquivo exportado, ou os de uma pasta, linha a linha; mostra os totais; saída 0 ou 4");
    o.declara("--linha", "N", "com --conferir e um arquivo: mostra a linha N campo a campo");
    o.declaraPar("--comparar", "ANTES DEPOIS",
                 "compara duas exportações de um período (duas pastas, ou dois arquivos do mesmo tipo), registro a "
                 "registro; saída 0 iguais, 3 diferentes");
}

const char* kExemplos =
    "Exemplos:\n"
    "  zorla-exporta-cli --empresa 1 --codigo 0001 --mes 3 --ano 2026 --saida /srv/lumetra/marco\n"
    "  zorla-exporta-cli --empresa 1 --mes 3 --ano 2026 --verificar\n"
    "  zorla-exporta-cli --listar-empresas --config /etc/zorla-exporta/dbxconnections.ini\n"
    "  zorla-exporta-cli --lote fechamento.txt --mes 3 --ano 2026 --tarefas 2\n"
    "  zorla-exporta-cli --conferir /srv/lumetra/marco/01A31MAR.SAI --linha 120\n"
    "  zorla-exporta-cli --comparar /srv/lumetra/marco /srv/lumetra/marco-corrigido\n"
    "Saída: 0 concluída; 1 falhou; 2 recusada antes de começar (argumentos, empresa, pasta com outra exportação\n"
    "sem --substituir; exportações de períodos ou empresas diferentes em --comparar); 3 concluída com pendências\n"
    "(na verificação, só avisos; na comparação, diferenças); 4 a verificação achou erros;\n"
    "130 cancelada por Ctrl-C (SIGINT), 143 por SIGTERM.\n";

void preparaAjuda(CLI::App& app) {
    app.option_defaults()->group("Opções");
    auto f = app.get_formatter();
    f->label("Usage", "Uso");
    f->label("OPTIONS", "OPÇÕES");
    f->label("REQUIRED", "OBRIGATÓRIO");
    f->column_width(34);
    app.set_help_flag("-h,--help", "mostra esta ajuda e sai");
    app.footer(kExemplos);
    app.allow_extras(true);
}

}  // namespace

namespace {

// The period, the days defaulting to the whole month; a reversed one would be exported empty, named so, silently.
void periodo(const Opcoes& o, Argumentos& out) {
    if (!o.tem("--mes")) throw std::invalid_argument("falta --mes");
    if (!o.tem("--ano")) throw std::invalid_argument("falta --ano");
    out.mes = inteiro("--mes", *o.valor("--mes"), 1, 12);
    out.ano = inteiro("--ano", *o.valor("--ano"), 1900, 9999);
    if (auto d = o.valor("--dia-inicial")) out.diaInicial = inteiro("--dia-inicial", *d, 1, 31);
    const int ultimo = UltimoDiaDoMes(out.mes, out.ano);
    out.diaFinal = o.tem("--dia-final") ? inteiro("--dia-final", *o.valor("--dia-final"), 1, 31) : ultimo;
    if (out.diaInicial > out.diaFinal)
        throw std::invalid_argument("o dia inicial (" + std::to_string(out.diaInicial) +
                                    ") é posterior ao dia final (" + std::to_string(out.diaFinal) + ")");
    // A day the month does not have.
    if (out.diaFinal > ultimo)
        throw std::invalid_argument("o dia final (" + std::to_string(out.diaFinal) + ") não existe em " +
                                    MesEAno(ComporData(1, out.mes, out.ano)) + ": o mês vai de 1 a " +
                                    std::to_string(ultimo));
}

void empresa(const Opcoes& o, Argumentos& out) {
    if (!o.tem("--empresa")) throw std::invalid_argument("Informe a empresa.");
    out.empresa = inteiro("--empresa", *o.valor("--empresa"), 0, 2147483647);
}

void exportacao(const Opcoes& o, Argumentos& out) {
    empresa(o, out);
    if (!o.tem("--codigo")) throw std::invalid_argument("Informe o código da empresa.");
    out.codigo = CodigoParaOsRegistros(*o.valor("--codigo"));
    periodo(o, out);
    if (!o.tem("--saida")) throw std::invalid_argument("falta --saida");
    out.saida = *o.valor("--saida");
    // An empty folder would put the files at the root of the file system.
    if (trimControl(out.saida).empty()) throw std::invalid_argument("Informe a pasta de saída (--saida).");
}

// Options of another mode that this one would otherwise drop without a word.
void recusaAlheias(const Opcoes& o, const char* modo, std::initializer_list<const char*> alheias) {
    for (const char* opcao : alheias)
        if (o.tem(opcao)) throw std::invalid_argument(std::string(opcao) + " não vale com " + modo);
}

// Every option is of some mode; one that the mode asked for would drop is refused.
void recusaOpcoesDeOutroModo(const Opcoes& o) {
    if (o.tem("--listar-empresas"))
        recusaAlheias(o, "--listar-empresas",
                      {"--empresa", "--codigo", "--mes", "--ano", "--dia-inicial", "--dia-final", "--saida", "--resumo",
                       "--verificar", "--formato", "--lote", "--tarefas", "--substituir"});
    if (o.tem("--lote")) recusaAlheias(o, "--lote", {"--empresa", "--codigo", "--saida", "--config", "--tempo-limite"});
    if (o.tem("--verificar")) recusaAlheias(o, "--verificar", {"--resumo", "--saida", "--codigo", "--substituir"});
    if (o.tem("--tarefas") && !o.tem("--lote")) throw std::invalid_argument("--tarefas vale só com --lote");
    if (o.tem("--conferir"))
        recusaAlheias(
            o, "--conferir",
            {"--empresa", "--codigo", "--mes", "--ano", "--dia-inicial", "--dia-final", "--saida", "--resumo",
             "--verificar", "--lote", "--tarefas", "--config", "--tempo-limite", "--listar-empresas", "--substituir"});
    if (o.tem("--linha") && !o.tem("--conferir")) throw std::invalid_argument("--linha vale só com --conferir");
    if (o.tem("--comparar"))
        recusaAlheias(o, "--comparar",
                      {"--empresa", "--codigo", "--mes", "--ano", "--dia-inicial", "--dia-final", "--saida", "--resumo",
                       "--verificar", "--lote", "--tarefas", "--config", "--tempo-limite", "--listar-empresas",
                       "--substituir", "--conferir", "--linha"});
}

Argumentos interpreta(const Opcoes& o) {
    recusaOpcoesDeOutroModo(o);
    Argumentos out;
    out.config = o.valor("--config");
    if (auto t = o.valor("--tempo-limite")) out.tempoLimite = inteiro("--tempo-limite", *t, 1, 86400);
    out.resumo = o.valor("--resumo");
    out.substituir = o.tem("--substituir");
    if (out.resumo && trimControl(*out.resumo).empty())
        throw std::invalid_argument("Informe o arquivo dos totais (--resumo).");
    if (auto f = o.valor("--formato")) {
        if (*f != "csv" && *f != "texto") throw std::invalid_argument("valor inválido para --formato: '" + *f + "'");
        if (!o.tem("--verificar") && !o.tem("--conferir") && !o.tem("--comparar"))
            throw std::invalid_argument("--formato vale só com --verificar, --conferir ou --comparar");
        out.csv = *f == "csv";
    }
    if (auto par = o.par("--comparar")) {
        out.modo = Argumentos::Modo::Comparar;
        out.comparar = *par;
        if (trimControl(par->first).empty() || trimControl(par->second).empty())
            throw std::invalid_argument("Informe as duas exportações (--comparar ANTES DEPOIS).");
    } else if (o.tem("--conferir")) {
        out.modo = Argumentos::Modo::Conferir;
        out.conferir = *o.valor("--conferir");
        if (trimControl(out.conferir).empty())
            throw std::invalid_argument("Informe o arquivo ou a pasta (--conferir).");
        if (auto l = o.valor("--linha")) out.linha = inteiro("--linha", *l, 1, 2147483647);
        if (out.linha && out.csv) throw std::invalid_argument("--linha e --formato csv não valem juntas");
    } else if (o.tem("--listar-empresas")) {
        out.modo = Argumentos::Modo::ListarEmpresas;
    } else if (o.tem("--lote")) {
        out.modo = Argumentos::Modo::Lote;
        out.lote = *o.valor("--lote");
        out.verificar = o.tem("--verificar");
        periodo(o, out);
        const int nucleos = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
        out.tarefas = o.tem("--tarefas") ? inteiro("--tarefas", *o.valor("--tarefas"), 1, 64) : nucleos;
    } else if (o.tem("--verificar")) {
        out.modo = Argumentos::Modo::Verificar;
        empresa(o, out);
        periodo(o, out);
    } else {
        exportacao(o, out);
    }
    return out;
}

}  // namespace

// The code goes into every record as typed: anything that would not survive that is refused.
std::string CodigoParaOsRegistros(const std::string& digitado) {
    const ConversaoCp1252 c = converteParaCp1252(digitado);
    if (c.erro == ErroCp1252::Utf8Invalido) throw std::invalid_argument("--codigo não é texto UTF-8 válido.");
    if (c.erro == ErroCp1252::ForaDoCp1252)
        throw std::invalid_argument("--codigo tem caracteres que o code page 1252 não tem: '" + digitado + "'");
    for (char ch : c.texto)
        if (CaractereDeControle(ch)) throw std::invalid_argument("--codigo tem caracteres de controle.");
    if (c.texto.empty()) throw std::invalid_argument("Informe o código da empresa.");
    // Cut, every record would carry another company's code.
    if (c.texto.size() > 4)
        throw std::invalid_argument("--codigo tem mais de 4 caracteres ('" + digitado +
                                    "'): os registros levam 4. "
                                    "Informe o código da empresa no Lumetra, de até 4 caracteres.");
    return c.texto;
}

const char* UsoDoPrograma() {
    return "Uso: zorla-exporta-cli --empresa N --codigo TEXTO --mes M --ano AAAA [--dia-inicial D] [--dia-final D]\n"
           "                          --saida PASTA [--config ARQUIVO] [--tempo-limite SEGUNDOS] [--resumo "
           "ARQUIVO.csv]\n"
           "       zorla-exporta-cli --conferir ARQUIVO|PASTA [--linha N | --formato csv]\n"
           "       zorla-exporta-cli --comparar ANTES DEPOIS [--formato csv]\n"
           "       zorla-exporta-cli --help\n";
}

namespace {
std::variant<Argumentos, TextoAImprimir> leArgumentos(const std::vector<std::string>& args, const std::string& versao) {
    CLI::App app(
        "Exporta um período de documentos fiscais e movimentos de caixa/banco do banco ZORLA para os\n"
        "arquivos que o Lumetra importa, sem a janela: os mesmos bytes.",
        "zorla-exporta-cli");
    preparaAjuda(app);
    app.set_version_flag("--version", versao, "mostra a versão e sai");
    Opcoes o(app);
    declaraOpcoes(o);
    try {
        std::vector<std::string> invertidos(args.rbegin(), args.rend());
        app.parse(invertidos);
    } catch (const CLI::CallForHelp&) {
        // An unknown option is an error whatever comes with it.
        if (!app.remaining().empty()) throw std::invalid_argument("opção desconhecida: " + app.remaining().front());
        return TextoAImprimir{app.help()};
    } catch (const CLI::CallForVersion&) {
        return TextoAImprimir{versao + "\n"};
    } catch (const CLI::ArgumentMismatch& e) {
        const std::string texto = e.what();
        throw std::invalid_argument("falta o valor de " + texto.substr(0, texto.find(':')));
    } catch (const CLI::ParseError& e) {
        throw std::invalid_argument(std::string("argumentos inválidos (") + e.what() + ")");
    }
    if (!app.remaining().empty()) throw std::invalid_argument("opção desconhecida: " + app.remaining().front());
    o.semRepeticoes();
    return interpreta(o);
}
}  // namespace

OuRecusa<std::variant<Argumentos, TextoAImprimir>> LeArgumentos(const std::vector<std::string>& args,
                                                                const std::string& versao) {
    try {
        return leArgumentos(args, versao);
    } catch (const std::invalid_argument& e) {
        return Recusa{e.what()};
    }
}

}  // namespace zorla
