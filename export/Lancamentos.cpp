#include "export/Lancamentos.h"

#include "export/Campos.h"
#include "data/ClientDataSet.h"
#include "base/Formatacao.h"
#include "base/TextUtil.h"

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
    // Only an account of length 0 is missing; one of blanks passes.
    if (FieldRef(m_mov, m_credora).asString().empty()) return FieldRef(m_mov, m_nomeCredor).asString();
    if (FieldRef(m_mov, m_devedora).asString().empty()) return FieldRef(m_mov, m_nomeDevedor).asString();
    return std::nullopt;
}

std::vector<std::string> MontadorLancamentos::monta(const std::string& prefixo) const {
    auto campo = [&](int index) { return FieldRef(m_mov, index); };
    const std::string documento = campo(m_documento).asString();
    const std::string doc = PadLeft(documento, 6, ' ');
    std::string deb = PadLeft(campo(m_devedora).asString(), 7, ' ');
    std::string cred = PadLeft(campo(m_credora).asString(), 7, ' ');
    if (std::int64_t centro = campo(m_centro).asInteger(); centro > 0) {
        std::string& alvo = campo(m_local).asString() == "D" ? deb : cred;
        if (alvo[0] == '6') alvo.replace(3, 2, centro == 1 ? "01" : "02");
    }
    const std::string cabeca = deb + cred + "  " + doc + "     ";
    const std::string data = DataDDMMAA(campo(m_data).asDate());
    const std::string valor = CampoNumerico(campo(m_valor).asDecimal(), 12, '0', documento, "VALOR");
    const std::string semValor(12, '0');

    std::vector<std::string> linhas;
    if (!prefixo.empty()) {
        linhas.push_back(cabeca + "1" + PadLeft(prefixo, 29, ' ') + semValor + data);
        linhas.push_back(cabeca + "2" + PadLeft(doc + "/" + campo(m_parcela).asString(), 29, ' ') + valor + data);
    } else {
        const std::string historico = campo(m_historico).asString();
        // The length test ignores blanks at the ends; the slices keep them.
        if (trimControl(historico).size() <= 29) {
            linhas.push_back(cabeca + "1" + PadLeft(historico, 29, ' ') + valor + data);
        } else {
            linhas.push_back(cabeca + "1" + PadLeft(historico, 29, ' ') + semValor + data);
            linhas.push_back(cabeca + "2" + PadLeft(historico.substr(29, 29), 29, ' ') + valor + data);
        }
    }
    for (std::string& l : linhas) l = SemControles(std::move(l));
    return linhas;
}

}  // namespace zorla
