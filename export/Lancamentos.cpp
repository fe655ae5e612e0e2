#include "export/Lancamentos.h"

#include "base/TextUtil.h"
#include "data/ClientDataSet.h"
#include "export/Leiaute.h"

namespace zorla {

namespace {
// Where the fields of an entry line lie in its layout.
const Leiaute& kL = LeiauteDoLancamento();
const std::size_t kLinha = kL.indice("Linha"), kHistorico = kL.indice("Histórico"), kValor = kL.indice("VALOR"),
                  kData = kL.indice("DATA"), kDocumento = kL.indice("DOCUMENTO");
}  // namespace

MontadorLancamentos::MontadorLancamentos(const ClientDataSet& mov)
    : m_mov(mov),
      m_montador(kL, mov),
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
    std::string l = cabeca;
    l.reserve(kL.largura());
    const std::string_view dados[] = {std::string_view(&numero, 1), historico};
    m_montador.monta(l, dados, kLinha, kValor);
    l.append(valor);
    l.append(data);
    return l;
}

std::vector<std::string> MontadorLancamentos::monta(const std::string& prefixo) const {
    auto campo = [&](int index) { return FieldRef(m_mov, index); };
    // The head of every line: debit and credit accounts after the cost-centre rule, the document.
    std::string cabeca;
    m_montador.monta(cabeca, {}, 0, kLinha);
    if (std::int64_t centro = campo(m_centro).asInteger(); centro > 0) {
        const std::size_t alvo = kL.inicio(campo(m_local).text() == "D" ? kL.indice("DEVEDORA") : kL.indice("CREDORA"));
        if (cabeca[alvo] == '6') cabeca.replace(alvo + 3, 2, centro == 1 ? "01" : "02");
    }
    std::string valor, data;
    m_montador.monta(valor, {}, kValor, kValor + 1);
    m_montador.monta(data, {}, kData, kData + 1);
    const std::string semValor(kL.campos[kValor].largura, '0');
    if (!prefixo.empty()) {
        std::string parcela(cabeca.substr(kL.inicio(kDocumento), kL.campos[kDocumento].largura));
        parcela += '/';
        parcela += campo(m_parcela).asString();
        return {linha(cabeca, '1', prefixo, semValor, data), linha(cabeca, '2', parcela, valor, data)};
    }
    const std::string_view historico = campo(m_historico).text();
    // The length test ignores blanks at the ends; the slices keep them.
    const std::size_t largura = kL.campos[kHistorico].largura;
    if (trimControl(historico).size() <= largura) return {linha(cabeca, '1', historico, valor, data)};
    return {linha(cabeca, '1', historico, semValor, data),
            linha(cabeca, '2', historico.substr(largura, largura), valor, data)};
}

}  // namespace zorla
