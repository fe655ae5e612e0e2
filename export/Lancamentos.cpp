#include "export/Lancamentos.h"

#include "base/TextUtil.h"
#include "data/ClientDataSet.h"
#include "leiaute/Leiaute.h"

namespace zorla {

namespace {
// Where the fields of an entry line lie in its layout, found on first use.
struct Posicoes {
    const Leiaute& l = LeiauteDoLancamento();
    std::size_t linha = l.indice("Linha"), historico = l.indice("Histórico"), valor = l.indice("VALOR"),
                data = l.indice("DATA"), documento = l.indice("DOCUMENTO"), devedora = l.indice("DEVEDORA"),
                credora = l.indice("CREDORA"), largura = l.largura();
};
const Posicoes& posicoes() {
    static const Posicoes p;
    return p;
}
}  // namespace

MontadorLancamentos::MontadorLancamentos(const ClientDataSet& mov)
    : m_mov(mov),
      m_montador(LeiauteDoLancamento(), mov),
      m_devedora(mov.fieldIndex("DEVEDORA")),
      m_credora(mov.fieldIndex("CREDORA")),
      m_documento(mov.fieldIndex("DOCUMENTO")),
      m_parcela(mov.fieldIndex("PARCELA")),
      m_valor(mov.fieldIndex("VALOR")),
      m_historico(mov.fieldIndex("HISTORICO")),
      m_data(mov.fieldIndex("DATA")),
      m_centro(mov.fieldIndex("CENTROCUSTO")),
      m_local(mov.fieldIndex("LOCAL_CCUSTO")),
      m_nomeCredor(mov.fieldIndex("NOMECREDOR")),
      m_nomeDevedor(mov.fieldIndex("NOMEDEVEDOR")) {}

std::optional<std::string> MontadorLancamentos::parteSemConta() const {
    if (ContaAusente(FieldRef(m_mov, m_credora).text())) return std::string(FieldRef(m_mov, m_nomeCredor).text());
    if (ContaAusente(FieldRef(m_mov, m_devedora).text())) return std::string(FieldRef(m_mov, m_nomeDevedor).text());
    return std::nullopt;
}

Pendencia MontadorLancamentos::pendencia(std::string parte) const {
    const FieldRef valor(m_mov, m_valor);
    return Pendencia{FieldRef(m_mov, m_data).asDate(), std::string(FieldRef(m_mov, m_documento).text()),
                     valor.isNull() ? 0 : valor.asDecimal().cents, std::move(parte)};
}

std::string MontadorLancamentos::linha(const std::string& cabeca, char numero, std::string_view historico,
                                       std::string_view valor, const std::string& data) const {
    const Posicoes& p = posicoes();
    std::string l = cabeca;
    l.reserve(p.largura);
    const std::string_view dados[] = {std::string_view(&numero, 1), historico};
    m_montador.monta(l, dados, p.linha, p.valor);
    l.append(valor);
    l.append(data);
    return l;
}

std::vector<std::string> MontadorLancamentos::monta(const std::string& prefixo) const {
    const Posicoes& p = posicoes();
    auto campo = [&](int index) { return FieldRef(m_mov, index); };
    // The head of every line: debit and credit accounts after the cost-centre rule, the document.
    std::string cabeca;
    m_montador.monta(cabeca, {}, 0, p.linha);
    if (std::int64_t centro = campo(m_centro).asInteger(); centro > 0) {
        const std::size_t alvo = p.l.inicio(campo(m_local).text() == "D" ? p.devedora : p.credora);
        if (cabeca[alvo] == '6') cabeca.replace(alvo + 3, 2, centro == 1 ? "01" : "02");
    }
    std::string valor, data;
    m_montador.monta(valor, {}, p.valor, p.valor + 1);
    m_montador.monta(data, {}, p.data, p.data + 1);
    const std::string semValor(p.l.campos[p.valor].largura, '0');
    if (!prefixo.empty()) {
        std::string parcela(cabeca.substr(p.l.inicio(p.documento), p.l.campos[p.documento].largura));
        parcela += '/';
        parcela += campo(m_parcela).asString();
        return {linha(cabeca, '1', prefixo, semValor, data), linha(cabeca, '2', parcela, valor, data)};
    }
    const std::string_view historico = campo(m_historico).text();
    // The length test ignores blanks at the ends; the slices keep them.
    const std::size_t largura = p.l.campos[p.historico].largura;
    if (trimControl(historico).size() <= largura) return {linha(cabeca, '1', historico, valor, data)};
    return {linha(cabeca, '1', historico, semValor, data),
            linha(cabeca, '2', historico.substr(largura, largura), valor, data)};
}

}  // namespace zorla
