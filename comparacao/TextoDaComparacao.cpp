#include "comparacao/TextoDaComparacao.h"

#include <algorithm>

#include "base/Csv.h"
#include "base/Formatacao.h"
#include "base/TextoVisivel.h"

namespace zorla {

namespace {

std::string comSinal(std::int64_t diferenca, const std::string& texto) { return diferenca > 0 ? "+" + texto : texto; }

std::string linhaDeTotais(TipoArquivo tipo, long registrosA, const Somas& a, long registrosD, const Somas& d) {
    const bool livro = LivroFiscal(tipo);
    std::string linha = Numero(registrosA) + " → " +
                        Quantidade(registrosD, livro ? "registro" : "movimento", livro ? "registros" : "movimentos");
    if (registrosD != registrosA)
        linha += " (" + comSinal(registrosD - registrosA, Numero(registrosD - registrosA)) + ")";
    const auto ma = MontantesDoArquivo(tipo, a), md = MontantesDoArquivo(tipo, d);
    for (std::size_t i = 0; i < ma.size(); ++i) {
        const std::int64_t va = ma[i].second, vd = md[i].second;
        linha +=
            "; " + std::string(ma[i].first) + " " + ValorFormatado(Decimal{va}) + " → " + ValorFormatado(Decimal{vd});
        if (va != vd) linha += " (" + comSinal(vd - va, ValorFormatado(Decimal{vd - va})) + ")";
    }
    return linha;
}

const Somas* somasDoTipo(const ArquivoGravado& a, const std::string& tipo) {
    for (const auto& [t, s] : a.porTipo)
        if (t == tipo) return &s;
    return nullptr;
}

std::string linhas(long antes, long depois) {
    if (antes && depois) return " (linha " + std::to_string(antes) + " → " + std::to_string(depois) + ")";
    return " (linha " + std::to_string(antes ? antes : depois) + ")";
}

}  // namespace

std::string ContagemDaComparacao(const ArquivoComparado& a) {
    return Visivel(a.nome) + ": " + Quantidade(static_cast<long long>(a.iguais), "igual", "iguais") + ", " +
           Quantidade(static_cast<long long>(a.alterados), "alterado", "alterados") + ", " +
           Quantidade(static_cast<long long>(a.removidos), "removido", "removidos") + ", " +
           Quantidade(static_cast<long long>(a.novos), "novo", "novos");
}

std::string TotaisDaComparacao(const ResultadoDaComparacao& r) {
    std::string texto;
    for (const ArquivoComparado& a : r.arquivos) {
        const bool livro = LivroFiscal(a.tipo);
        texto +=
            "  " + Visivel(a.nome) + ": " +
            linhaDeTotais(a.tipo, livro ? a.totaisAntes.linhas : a.totaisAntes.somas.documentos, a.totaisAntes.somas,
                          livro ? a.totaisDepois.linhas : a.totaisDepois.somas.documentos, a.totaisDepois.somas) +
            "\n";
        // Each TIPO of either side, in the order it first appears.
        std::vector<std::string> tipos;
        for (const auto* lado : {&a.totaisAntes, &a.totaisDepois})
            for (const auto& [t, s] : lado->porTipo)
                if (std::find(tipos.begin(), tipos.end(), t) == tipos.end()) tipos.push_back(t);
        for (const std::string& t : tipos) {
            const Somas vazio;
            const Somas* sa = somasDoTipo(a.totaisAntes, t);
            const Somas* sd = somasDoTipo(a.totaisDepois, t);
            texto += "    " + (t.empty() ? std::string("(sem TIPO)") : VisivelCp1252(t)) + ": " +
                     linhaDeTotais(a.tipo, sa ? sa->documentos : 0, sa ? *sa : vazio, sd ? sd->documentos : 0,
                                   sd ? *sd : vazio) +
                     "\n";
        }
    }
    return texto;
}

std::string TextoDaComparacao(const ResultadoDaComparacao& r) {
    std::string texto = "Antes:  " + Visivel(r.antes) + "\nDepois: " + Visivel(r.depois) + "\n";
    for (const ArquivoComparado& a : r.arquivos) texto += ContagemDaComparacao(a) + "\n";
    if (r.iguais()) {
        texto += "As duas exportações têm os mesmos registros.\n";
    } else {
        texto += "Diferenças:\n";
        for (const ArquivoComparado& a : r.arquivos)
            for (const Mudanca& m : a.mudancas) {
                texto += "  " + Visivel(a.nome) + ", " + NomeDaMudanca(m.tipo) + ": " + m.registro +
                         linhas(m.linhaAntes, m.linhaDepois) + "\n";
                for (const CampoAlterado& c : m.campos)
                    texto += "      " + c.rotulo + ": " + ValorOuEmBranco(c.antes) + " → " + ValorOuEmBranco(c.depois) +
                             "\n";
            }
    }
    return texto + "Totais (antes → depois):\n" + TotaisDaComparacao(r);
}

const std::vector<std::string> kColunasDaComparacao = {"Arquivo", "Mudança", "Registro", "Campo", "Antes", "Depois"};

std::vector<std::string> CelulasDaDiferenca(const ArquivoComparado& a, const Mudanca& m, int campo) {
    std::vector<std::string> celulas = {Visivel(a.nome), NomeDaMudanca(m.tipo), m.registro};
    if (campo >= 0) {
        const CampoAlterado& c = m.campos[static_cast<std::size_t>(campo)];
        celulas.insert(celulas.end(), {c.rotulo, c.antes, c.depois});
        return celulas;
    }
    const auto linha = [](long n) { return n ? "linha " + std::to_string(n) : std::string(); };
    celulas.insert(celulas.end(), {std::string(), linha(m.linhaAntes), linha(m.linhaDepois)});
    return celulas;
}

std::string ValorOuEmBranco(const std::string& valor) { return valor.empty() ? "(em branco)" : valor; }

std::string CsvDaComparacao(const ResultadoDaComparacao& r) {
    std::string csv = LinhaCsv(kColunasDaComparacao);
    for (const ArquivoComparado& a : r.arquivos)
        for (const Mudanca& m : a.mudancas) {
            // A changed record is its fields; a removed or new one, itself.
            if (m.tipo != Mudanca::Tipo::Alterado) csv += LinhaCsv(CelulasDaDiferenca(a, m, -1));
            for (std::size_t c = 0; m.tipo == Mudanca::Tipo::Alterado && c < m.campos.size(); ++c)
                csv += LinhaCsv(CelulasDaDiferenca(a, m, static_cast<int>(c)));
        }
    return csv;
}

}  // namespace zorla
