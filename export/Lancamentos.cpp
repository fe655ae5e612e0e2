#include "export/Lancamentos.h"

#include "base/TextUtil.h"
#include "data/ClientDataSet.h"
#include "export/Campos.h"
#include "export/Verificacao.h"

namespace zorla {

MontadorLancamentos::MontadorLancamentos(const ClientDataSet& mov)
    : m_mov(mov),
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

std::vector<std::string> MontadorLancamentos::monta(const std::string& prefixo) const {
    auto campo = [&](int index) { return FieldRef(m_mov, index); };
    // The head of every line: debit and credit accounts after the cost-centre rule, the document.
    std::string cabeca;
    Campos head(cabeca);
    head.texto(campo(m_devedora).text(), 7);
    head.texto(campo(m_credora).text(), 7);
    if (std::int64_t centro = campo(m_centro).asInteger(); centro > 0) {
        const std::size_t alvo = campo(m_local).text() == "D" ? 0 : 7;
        if (cabeca[alvo] == '6') cabeca.replace(alvo + 3, 2, centro == 1 ? "01" : "02");
    }
    head.brancos(2);
    const std::string_view documento = campo(m_documento).text();
    head.texto(documento, 6);
    head.brancos(5);

    std::string valor, data;
    Campos(valor).numero(campo(m_valor).asDecimal(), 12, '0', documento, "VALOR");
    Campos(data).diaMesAno2(campo(m_data).asDate());
    auto linha = [&](char numero, std::string_view historico, std::string_view montante) {
        std::string l = cabeca;
        l.reserve(75);
        Campos c(l);
        c.constante(std::string_view(&numero, 1));
        c.texto(historico, 29);
        c.constante(montante);
        c.constante(data);
        return l;
    };
    const std::string semValor(12, '0');
    if (!prefixo.empty()) {
        std::string parcela(cabeca.substr(16, 6));
        parcela += '/';
        parcela += campo(m_parcela).asString();
        return {linha('1', prefixo, semValor), linha('2', parcela, valor)};
    }
    const std::string_view historico = campo(m_historico).text();
    // The length test ignores blanks at the ends; the slices keep them.
    if (trimControl(historico).size() <= 29) return {linha('1', historico, valor)};
    return {linha('1', historico, semValor), linha('2', historico.substr(29, 29), valor)};
}

}  // namespace zorla
