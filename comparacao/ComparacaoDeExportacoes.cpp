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

// What the records say of a side's export: the month of its latest movement, its companies.
struct DoQueE {
    std::optional<Date> ultima;
    std::vector<std::string> empresas;
};

DoQueE doQueE(const std::vector<ArquivoConferido>& lidos) {
    DoQueE e;
    for (const ArquivoConferido& a : lidos) {
        const ConferenciaDoArquivo& c = a.conferencia;
        if (c.ultimaData && (!e.ultima || *c.ultimaData > *e.ultima)) e.ultima = c.ultimaData;
        for (const std::string& codigo : c.empresas)
            if (std::find(e.empresas.begin(), e.empresas.end(), codigo) == e.empresas.end())
                e.empresas.push_back(codigo);
    }
    std::sort(e.empresas.begin(), e.empresas.end());
    return e;
}

OuRecusa<void> aceitaOPeriodo(const std::vector<ArquivoConferido>& antes, const std::vector<ArquivoConferido>& depois) {
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
OuRecusa<void> aceitaInteiros(const std::vector<ArquivoConferido>& antes, const std::vector<ArquivoConferido>& depois) {
    std::vector<ConferenciaDoArquivo> danificados;
    for (const auto* lado : {&antes, &depois})
        for (const ArquivoConferido& a : *lado)
            if (a.conferencia.totalDeProblemas > 0) danificados.push_back(a.conferencia);
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

const ArquivoConferido* doTipo(const std::vector<ArquivoConferido>& lidos, TipoArquivo tipo) {
    for (const ArquivoConferido& a : lidos)
        if (a.conferencia.totais.tipo == tipo) return &a;
    return nullptr;
}

// Each record's identity and content, read from the file again; the bytes counted for the gauge.
std::vector<RegistroComparavel> registros(const ArquivoConferido* lido, TipoArquivo tipo, const std::stop_token& parada,
                                          AndamentoDaComparacao* andamento) {
    if (!lido) return {};
    ColetorDeRegistros coletor(tipo);
    std::uint64_t contados = 0;
    LeLinhasComInicio(*lido->arquivo, [&](long n, std::string_view linha, std::uint64_t inicio) {
        coletor.linha(n, linha, inicio);
        if (andamento && (n & 4095) == 0) andamento->lidos += inicio - std::exchange(contados, inicio);
        return !parada.stop_requested();
    });
    if (parada.stop_requested()) throw std::runtime_error("Comparação cancelada.");
    if (andamento) andamento->lidos += lido->arquivo->tamanho() - contados;
    return coletor.termina();
}

// The fields of two versions of one line that differ, as a person reads them; a second line's labelled so.
void camposDaLinha(const Leiaute& l, std::string_view antes, std::string_view depois, const char* sufixo,
                   std::vector<CampoAlterado>& campos) {
    for (std::size_t i : l.camposComNome()) {
        const std::string_view a = l.campo(antes, i), d = l.campo(depois, i);
        if (a == d) continue;
        CampoAlterado c{l.titulo(i, true) + sufixo, CampoParaPessoa(l.campos[i], a), CampoParaPessoa(l.campos[i], d)};
        // A movement's head is on both its lines: a change to it is said once.
        const bool repetido = std::any_of(campos.begin(), campos.end(), [&](const CampoAlterado& o) {
            return o.antes == c.antes && o.depois == c.depois && c.rotulo.starts_with(o.rotulo);
        });
        if (!repetido) campos.push_back(std::move(c));
    }
}

std::vector<CampoAlterado> camposAlterados(TipoArquivo tipo, const std::pair<std::string, std::string>& antes,
                                           const std::pair<std::string, std::string>& depois) {
    const Leiaute& l = LeiauteDoTipo(tipo);
    std::vector<CampoAlterado> campos;
    camposDaLinha(l, antes.first, depois.first, "", campos);
    if (!LivroFiscal(tipo) && (!antes.second.empty() || !depois.second.empty()))
        camposDaLinha(l, antes.second, depois.second, " (linha 2)", campos);
    return campos;
}

ArquivoComparado compara(TipoArquivo tipo, const ArquivoConferido* antes, const ArquivoConferido* depois,
                         const std::stop_token& parada, AndamentoDaComparacao* andamento) {
    ArquivoComparado r;
    r.tipo = tipo;
    r.nome = NomeDoArquivo((depois ? depois : antes)->conferencia.totais.caminho);
    r.totaisAntes.tipo = r.totaisDepois.tipo = tipo;
    if (antes) r.antes = antes->arquivo, r.totaisAntes = antes->conferencia.totais;
    if (depois) r.depois = depois->arquivo, r.totaisDepois = depois->conferencia.totais;
    std::vector<RegistroComparavel> a, d;
    std::exception_ptr falha;
    {
        // The two versions read at once.
        std::jthread outro([&] {
            try {
                d = registros(depois, tipo, parada, andamento);
            } catch (...) {
                falha = std::current_exception();
            }
        });
        a = registros(antes, tipo, parada, andamento);
    }
    if (falha) std::rethrow_exception(falha);
    const Emparelhamento e = Emparelha(a, d);
    r.iguais = e.iguais, r.alterados = e.alterados.size(), r.removidos = e.soAntes.size(), r.novos = e.soDepois.size();
    const auto mudanca = [&](Mudanca::Tipo t, const RegistroComparavel* x, const RegistroComparavel* y) {
        Mudanca m;
        m.tipo = t;
        std::pair<std::string, std::string> la, ld;
        if (x) la = LeRegistro(*r.antes, tipo, x->inicio), m.linhaAntes = x->linha, m.inicioAntes = x->inicio;
        if (y) ld = LeRegistro(*r.depois, tipo, y->inicio), m.linhaDepois = y->linha, m.inicioDepois = y->inicio;
        const auto& mostrado = y ? ld : la;
        m.registro = IdentidadeLegivel(tipo, mostrado.first, mostrado.second);
        if (x && y) m.campos = camposAlterados(tipo, la, ld);
        return m;
    };
    for (const auto& [i, j] : e.alterados) r.mudancas.push_back(mudanca(Mudanca::Tipo::Alterado, &a[i], &d[j]));
    for (std::size_t i : e.soAntes) r.mudancas.push_back(mudanca(Mudanca::Tipo::Removido, &a[i], nullptr));
    for (std::size_t j : e.soDepois) r.mudancas.push_back(mudanca(Mudanca::Tipo::Novo, nullptr, &d[j]));
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
        andamento->total = 2 * total;  // read whole, then for the records
    }
    const std::vector<ArquivoConferido> lidosA = ConfereMantendoAbertos(a->arquivos, false),
                                        lidosD = ConfereMantendoAbertos(d->arquivos, false);
    if (andamento) andamento->lidos = andamento->total / 2;
    if (parada.stop_requested()) throw std::runtime_error("Comparação cancelada.");
    if (OuRecusa<void> inteiros = aceitaInteiros(lidosA, lidosD); !inteiros) return inteiros.recusa();
    if (OuRecusa<void> periodo = aceitaOPeriodo(lidosA, lidosD); !periodo) return periodo.recusa();
    ResultadoDaComparacao r{antes, depois, {}};
    for (TipoArquivo tipo : kTiposDeArquivo) {
        const ArquivoConferido *x = doTipo(lidosA, tipo), *y = doTipo(lidosD, tipo);
        if (x || y) r.arquivos.push_back(compara(tipo, x, y, parada, andamento));
    }
    return r;
}

}  // namespace zorla
