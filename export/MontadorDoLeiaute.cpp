#include "export/MontadorDoLeiaute.h"

#include "data/ClientDataSet.h"
#include "export/Campos.h"

namespace zorla {

MontadorDoLeiaute::MontadorDoLeiaute(const Leiaute& leiaute, const ClientDataSet& linhas)
    : m_leiaute(leiaute), m_linhas(linhas), m_documento(linhas.fieldIndex(leiaute.documento)) {
    for (const CampoDoLeiaute& c : leiaute.campos) {
        m_colunas.push_back(c.leColuna() ? linhas.fieldIndex(c.nome) : -1);
        m_outras.push_back(c.outra.empty() ? -1 : linhas.fieldIndex(c.outra));
    }
}

void MontadorDoLeiaute::monta(std::string& linha, std::span<const std::string_view> dados, std::size_t de,
                              std::size_t ate) const {
    Campos c(linha);
    std::size_t dado = 0;
    for (std::size_t i = de; i < ate; ++i) {
        const CampoDoLeiaute& f = m_leiaute.campos[i];
        const FieldRef coluna(m_linhas, m_colunas[i]);
        switch (f.regra) {
            case Regra::Fixo:
                linha.append(f.largura, f.preenchimento);
                break;
            case Regra::Dado:
                c.texto(dados[dado++], f.largura);
                break;
            case Regra::Texto:
                c.texto(coluna.text(), f.largura);
                break;
            case Regra::Documento:
            case Regra::Cadastro: {
                const bool outra = f.regra == Regra::Cadastro && UsaOutraColuna(coluna.text());
                const std::string_view t = outra ? FieldRef(m_linhas, m_outras[i]).text() : coluna.text();
                TextoDaRegra(f.regra, t, m_texto);
                c.texto(m_texto, f.largura);
                break;
            }
            case Regra::Valor:
                if (coluna.isNull())
                    linha.append(f.largura, f.preenchimento);
                else
                    c.numero(coluna.asDecimal(), f.largura, f.preenchimento, FieldRef(m_linhas, m_documento).text(),
                             f.nome);
                break;
            case Regra::AnoMesDia:
                c.anoMesDia(coluna.asDate());
                break;
            case Regra::DiaMesAno:
                c.diaMesAno(coluna.asDate());
                break;
            case Regra::DiaMesAno2:
                c.diaMesAno2(coluna.asDate());
                break;
        }
    }
}

}  // namespace zorla
