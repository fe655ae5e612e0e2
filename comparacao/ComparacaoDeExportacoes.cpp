#include "comparacao/ComparacaoDeExportacoes.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "base/Caminho.h"
#include "base/Periodo.h"
#include "base/TextoVisivel.h"
#include "comparacao/ColetorDeRegistros.h"
#include "comparacao/Emparelhamento.h"
#include "conferencia/ConferenciaDeArquivos.h"
#include "conferencia/LeituraDoCampo.h"
#include "conferencia/TextoDaConferencia.h"
#include "leiaute/Leiaute.h"

namespace zorla {

namespace {

using Arquivos = std::vector<std::pair<std::string, TipoArquivo>>;

struct Lado {
    std::string caminho;
    bool pasta = false;
    Arquivos arquivos;
};

OuRecusa<Lado> lado(const std::string& caminho, const char* qual) {
    Lado l{caminho, false, {}};
    std::error_code ec;
    l.pasta = std::filesystem::is_directory(CaminhoDoSistema(caminho), ec);
    try {
        l.arquivos = ArquivosExportados(caminho);
    } catch (const std::invalid_argument& e) {
        return Recusa{std::string(qual) + ": " + e.what()};
    }
    return l;
}

std::string nomeDoTipo(TipoArquivo tipo) { return std::string("arquivo ") + SiglaDoArquivo(tipo); }

// Two sides alike: two folders of one period, or two files of one kind.
OuRecusa<void> aceitaOsLados(const Lado& a, const Lado& d) {
    if (a.pasta != d.pasta)
        return Recusa{"Compare uma pasta com outra pasta, ou um arquivo com outro arquivo: " + Visivel(a.caminho) +
                      (a.pasta ? " é uma pasta e " : " é um arquivo e ") + Visivel(d.caminho) +
                      (d.pasta ? " é uma pasta." : " é um arquivo.")};
    const auto base = [](const Lado& l) {
        return BaseDoNome(NomeDoArquivo(l.arquivos.front().first), l.arquivos.front().second);
    };
    if (!a.pasta && a.arquivos.front().second != d.arquivos.front().second)
        return Recusa{"Os arquivos não são do mesmo tipo: " + Visivel(a.caminho) + " é um " +
                      nomeDoTipo(a.arquivos.front().second) + " e " + Visivel(d.caminho) + " é um " +
                      nomeDoTipo(d.arquivos.front().second) + "."};
    if (a.pasta && base(a) != base(d))
        return Recusa{"As exportações não são do mesmo período: a de antes é " + Visivel(base(a)) +
                      " e a de depois é " + Visivel(base(d)) + "."};
    return {};
}

// One kind of file on both sides, read once each: checked whole as the reader checks it, and its records' identities
// taken as the lines go by. A side that lacks the file has neither.
struct Lido {
    TipoArquivo tipo;
    std::shared_ptr<const ArquivoParaLer> arquivo;
    std::optional<ConferenciaDoArquivo> conferencia;
    std::vector<RegistroComparavel> registros;
};

// Heard every few thousand lines or differences, while reading and while reading the differences again.
void paraSeCancelada(const std::stop_token& parada) {
    if (parada.stop_requested()) throw std::runtime_error("Comparação cancelada.");
}

Lido le(const Arquivos& arquivos, TipoArquivo tipo, const std::stop_token& parada, AndamentoDaComparacao* andamento) {
    Lido l{tipo, nullptr, std::nullopt, {}};
    const auto achado = std::find_if(arquivos.begin(), arquivos.end(), [&](const auto& a) { return a.second == tipo; });
    if (achado == arquivos.end()) return l;
    l.arquivo = std::make_shared<const ArquivoParaLer>(achado->first, kTamanhoMaximoDoExportado, "O arquivo");
    ColetorDeRegistros coletor(tipo, l.arquivo->tamanho());
    std::uint64_t contados = 0;
    l.conferencia = ConfereVendoAsLinhas(*l.arquivo, tipo, [&](long n, std::string_view linha, std::uint64_t inicio) {
        coletor.linha(n, linha, inicio);
        if ((n & 4095) != 0) return;
        paraSeCancelada(parada);
        if (andamento) andamento->lidos += inicio - std::exchange(contados, inicio);
    });
    if (andamento) andamento->lidos += l.arquivo->tamanho() - contados;
    l.registros = coletor.termina();
    return l;
}

// Both sides of a kind at once.
std::pair<Lido, Lido> leOsDois(const Lado& a, const Lado& d, TipoArquivo tipo, const std::stop_token& parada,
                               AndamentoDaComparacao* andamento) {
    Lido depois{tipo, nullptr, std::nullopt, {}};
    std::exception_ptr falha;
    std::jthread outro([&] {
        try {
            depois = le(d.arquivos, tipo, parada, andamento);
        } catch (...) {
            falha = std::current_exception();
        }
    });
    Lido antes = le(a.arquivos, tipo, parada, andamento);
    outro.join();
    if (falha) std::rethrow_exception(falha);
    return {std::move(antes), std::move(depois)};
}

using Conferidos = std::vector<const ConferenciaDoArquivo*>;

// What the records say of a side's export: the month of its latest movement, its companies.
struct DoQueE {
    std::optional<Date> ultima;
    std::vector<std::string> empresas;
};

DoQueE doQueE(const Conferidos& lidos) {
    DoQueE e;
    for (const ConferenciaDoArquivo* c : lidos) {
        if (c->ultimaData && (!e.ultima || *c->ultimaData > *e.ultima)) e.ultima = c->ultimaData;
        for (const std::string& codigo : c->empresas)
            if (std::find(e.empresas.begin(), e.empresas.end(), codigo) == e.empresas.end())
                e.empresas.push_back(codigo);
    }
    std::sort(e.empresas.begin(), e.empresas.end());
    return e;
}

OuRecusa<void> aceitaOPeriodo(const Conferidos& antes, const Conferidos& depois) {
    const DoQueE a = doQueE(antes), d = doQueE(depois);
    if (a.ultima && d.ultima && (a.ultima->year() != d.ultima->year() || a.ultima->month() != d.ultima->month()))
        return Recusa{"As exportações não são do mesmo período: a de antes é de " + MesEAno(*a.ultima) +
                      " e a de depois é de " + MesEAno(*d.ultima) + "."};
    const auto lista = [](const std::vector<std::string>& codigos) {
        std::string texto;
        for (const std::string& c : codigos) texto += (texto.empty() ? "" : ", ") + VisivelCp1252(c);
        return texto;
    };
    if (!a.empresas.empty() && !d.empresas.empty() && a.empresas != d.empresas)
        return Recusa{"As exportações não são da mesma empresa: a de antes é da empresa " + lista(a.empresas) +
                      " e a de depois é da empresa " + lista(d.empresas) + "."};
    return {};
}

// A damaged file is not compared as if it were whole: the refusal lists what the reader found, as it tells it.
OuRecusa<void> aceitaInteiros(const Conferidos& lidos) {
    std::vector<ConferenciaDoArquivo> danificados;
    for (const ConferenciaDoArquivo* c : lidos)
        if (c->totalDeProblemas > 0) danificados.push_back(*c);
    if (danificados.empty()) return {};
    std::string nomes;
    for (const ConferenciaDoArquivo& c : danificados) nomes += (nomes.empty() ? "" : ", ") + Visivel(c.totais.caminho);
    const bool um = danificados.size() == 1;
    return Recusa{std::string(um ? "O arquivo " : "Os arquivos ") + nomes +
                      (um ? " não confere com o leiaute e não é comparado como se estivesse inteiro"
                          : " não conferem com o leiaute e não são comparados como se estivessem inteiros") +
                      " (zorla-exporta-cli --conferir mostra cada problema). Exporte o período de novo.",
                  Recusa::Motivo::Pedido, Recusa::Pergunta::Nenhuma, TextoDaConferencia(danificados)};
}

// The fields a person reads of a kind of line, each with its place, found once.
struct CampoComLugar {
    std::size_t indice, inicio, largura;
    std::string_view em(std::string_view linha) const {
        return inicio < linha.size() ? linha.substr(inicio, largura) : std::string_view();
    }
};

const std::vector<CampoComLugar>& camposComLugar(TipoArquivo tipo) {
    static const auto monta = [](TipoArquivo t) {
        const Leiaute& l = LeiauteDoTipo(t);
        std::vector<CampoComLugar> campos;
        for (std::size_t i : l.camposComNome()) campos.push_back({i, l.inicio(i), l.campos[i].largura});
        return campos;
    };
    static const std::vector<CampoComLugar> saida = monta(TipoArquivo::LivroSaidas),
                                            entrada = monta(TipoArquivo::LivroEntradas),
                                            lancamento = monta(TipoArquivo::Recebimentos);
    return tipo == TipoArquivo::LivroSaidas ? saida : tipo == TipoArquivo::LivroEntradas ? entrada : lancamento;
}

// The fields of two versions of one line that differ, as a person reads them; a second line's labelled so.
void camposDaLinha(TipoArquivo tipo, std::string_view antes, std::string_view depois, const char* sufixo,
                   std::vector<CampoAlterado>& campos) {
    const Leiaute& l = LeiauteDoTipo(tipo);
    for (const CampoComLugar& f : camposComLugar(tipo)) {
        const std::string_view a = f.em(antes), d = f.em(depois);
        if (a == d) continue;
        const CampoDoLeiaute& campo = l.campos[f.indice];
        CampoAlterado c{l.titulo(f.indice, true) + sufixo, CampoParaPessoa(campo, a), CampoParaPessoa(campo, d)};
        // A movement's head is on both its lines: a change to it is said once, on the first.
        const bool repetido = *sufixo && std::any_of(campos.begin(), campos.end(), [&](const CampoAlterado& o) {
            return o.antes == c.antes && o.depois == c.depois && c.rotulo == o.rotulo + sufixo;
        });
        if (!repetido) campos.push_back(std::move(c));
    }
}

std::vector<CampoAlterado> camposAlterados(TipoArquivo tipo, const std::pair<std::string, std::string>& antes,
                                           const std::pair<std::string, std::string>& depois) {
    std::vector<CampoAlterado> campos;
    camposDaLinha(tipo, antes.first, depois.first, "", campos);
    if (!LivroFiscal(tipo) && (!antes.second.empty() || !depois.second.empty()))
        camposDaLinha(tipo, antes.second, depois.second, " (linha 2)", campos);
    return campos;
}

ArquivoComparado compara(Lido antes, Lido depois, const std::stop_token& parada) {
    const TipoArquivo tipo = antes.tipo;
    ArquivoComparado r;
    r.tipo = tipo;
    r.nome = NomeDoArquivo((depois.conferencia ? depois : antes).conferencia->totais.caminho);
    r.totaisAntes.tipo = r.totaisDepois.tipo = tipo;
    r.antes = antes.arquivo;
    r.depois = depois.arquivo;
    if (antes.conferencia) r.totaisAntes = antes.conferencia->totais;
    if (depois.conferencia) r.totaisDepois = depois.conferencia->totais;
    const Emparelhamento e = Emparelha(std::move(antes.registros), std::move(depois.registros));
    r.iguais = e.iguais, r.alterados = e.alterados.size(), r.removidos = e.soAntes.size(), r.novos = e.soDepois.size();
    // Each difference read again from its file: its identity as a person reads it, a change's fields.
    const auto mudanca = [&](Mudanca::Tipo t, const RegistroComparavel* x, const RegistroComparavel* y) {
        if ((r.mudancas.size() & 4095) == 0) paraSeCancelada(parada);
        Mudanca m;
        m.tipo = t;
        std::pair<std::string, std::string> la, ld;
        if (x) {
            la = LeRegistro(*r.antes, tipo, x->inicio);
            m.linhaAntes = x->linha;
            m.inicioAntes = x->inicio;
        }
        if (y) {
            ld = LeRegistro(*r.depois, tipo, y->inicio);
            m.linhaDepois = y->linha;
            m.inicioDepois = y->inicio;
        }
        const auto& mostrado = y ? ld : la;
        m.registro = IdentidadeLegivel(tipo, mostrado.first, mostrado.second);
        if (x && y) m.campos = camposAlterados(tipo, la, ld);
        return m;
    };
    for (const auto& [x, y] : e.alterados) r.mudancas.push_back(mudanca(Mudanca::Tipo::Alterado, &x, &y));
    for (const RegistroComparavel& x : e.soAntes) r.mudancas.push_back(mudanca(Mudanca::Tipo::Removido, &x, nullptr));
    for (const RegistroComparavel& y : e.soDepois) r.mudancas.push_back(mudanca(Mudanca::Tipo::Novo, nullptr, &y));
    // In the order of the files: by the line before, or after for what is new.
    std::stable_sort(r.mudancas.begin(), r.mudancas.end(), [](const Mudanca& x, const Mudanca& y) {
        const long lx = x.linhaAntes ? x.linhaAntes : x.linhaDepois, ly = y.linhaAntes ? y.linhaAntes : y.linhaDepois;
        return lx < ly;
    });
    return r;
}

}  // namespace

bool ResultadoDaComparacao::iguais() const {
    return std::all_of(arquivos.begin(), arquivos.end(), [](const ArquivoComparado& a) { return a.igual(); });
}

const char* NomeDaMudanca(Mudanca::Tipo tipo) {
    switch (tipo) {
        case Mudanca::Tipo::Alterado:
            return "alterado";
        case Mudanca::Tipo::Removido:
            return "removido";
        case Mudanca::Tipo::Novo:
            return "novo";
    }
    return "";
}

std::pair<std::string, std::string> LeRegistro(const ArquivoParaLer& arquivo, TipoArquivo tipo, std::uint64_t inicio) {
    const Leiaute& l = LeiauteDoTipo(tipo);
    // A line longer than its layout is not in a file that was compared: two lines' worth is enough.
    std::string bytes(2 * (l.largura() + 2), '\0');
    bytes.resize(arquivo.le(bytes.data(), bytes.size(), inicio));
    const auto linha = [&](std::size_t de) {
        const std::size_t fim = bytes.find('\n', de);
        std::string_view t =
            std::string_view(bytes).substr(de, fim == std::string::npos ? std::string::npos : fim - de);
        if (!t.empty() && t.back() == '\r') t.remove_suffix(1);
        return std::pair{std::string(t), fim == std::string::npos ? bytes.size() : fim + 1};
    };
    auto [primeira, depois] = linha(0);
    if (LivroFiscal(tipo) || depois >= bytes.size()) return {primeira, {}};
    auto [segunda, fim] = linha(depois);
    if (l.campo(segunda, l.indice("Linha")) != "2") segunda.clear();
    return {primeira, segunda};
}

OuRecusa<ResultadoDaComparacao> ComparaExportacoes(const std::string& antes, const std::string& depois,
                                                   std::stop_token parada, AndamentoDaComparacao* andamento) {
    OuRecusa<Lado> a = lado(antes, "Antes"), d = lado(depois, "Depois");
    if (!a) return a.recusa();
    if (!d) return d.recusa();
    if (OuRecusa<void> alike = aceitaOsLados(*a, *d); !alike) return alike.recusa();
    if (andamento) {
        std::uint64_t total = 0;
        for (const Lado* l : {&*a, &*d})
            for (const auto& [caminho, tipo] : l->arquivos) {
                std::error_code ec;
                total += std::filesystem::file_size(CaminhoDoSistema(caminho), ec);
            }
        andamento->total = total;
    }
    // Every file read once, both sides of a kind at once; nothing is compared before all of them were found whole
    // and of one period.
    std::vector<std::pair<Lido, Lido>> lidos;
    for (TipoArquivo tipo : kTiposDeArquivo) {
        auto par = leOsDois(*a, *d, tipo, parada, andamento);
        if (par.first.conferencia || par.second.conferencia) lidos.push_back(std::move(par));
    }
    Conferidos conferidosA, conferidosD;
    for (const auto& [x, y] : lidos) {
        if (x.conferencia) conferidosA.push_back(&*x.conferencia);
        if (y.conferencia) conferidosD.push_back(&*y.conferencia);
    }
    Conferidos todos = conferidosA;
    todos.insert(todos.end(), conferidosD.begin(), conferidosD.end());
    if (OuRecusa<void> inteiros = aceitaInteiros(todos); !inteiros) return inteiros.recusa();
    if (OuRecusa<void> periodo = aceitaOPeriodo(conferidosA, conferidosD); !periodo) return periodo.recusa();
    ResultadoDaComparacao r{antes, depois, {}};
    for (auto& [x, y] : lidos) r.arquivos.push_back(compara(std::move(x), std::move(y), parada));
    return r;
}

}  // namespace zorla
