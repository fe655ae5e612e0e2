#include "ui/ControleDaComparacao.h"

#include <stdexcept>

#include "base/TextoVisivel.h"

namespace zorla {

namespace {
// A refusal carried to the window's thread as the failure's text: what it is, and what the reader found.
class ComparacaoRecusada : public std::runtime_error {
public:
    explicit ComparacaoRecusada(const Recusa& r)
        : std::runtime_error(r.detalhe.empty() ? r.mensagem : r.mensagem + "\n\n" + r.detalhe) {}
};
}  // namespace

ControleDaComparacao::ControleDaComparacao(QObject* dono, std::function<void(Resultado)> aoTerminar,
                                           std::function<void(const QString&)> aoFalhar,
                                           std::function<void(int)> aoAndar)
    : m_aoAndar(std::move(aoAndar)),
      m_trabalho(
          dono,
          [this, aoTerminar = std::move(aoTerminar)](Resultado r) {
              m_relogio.stop();
              aoTerminar(std::move(r));
          },
          [this, aoFalhar = std::move(aoFalhar)](const QString& erro) {
              m_relogio.stop();
              aoFalhar(erro);
          }) {
    m_relogio.setInterval(100);
    QObject::connect(&m_relogio, &QTimer::timeout, dono, [this] {
        const std::uint64_t total = m_andamento->total, lidos = m_andamento->lidos;
        m_aoAndar(total == 0 ? 0 : static_cast<int>(std::min<std::uint64_t>(lidos * 100 / total, 100)));
    });
}

void ControleDaComparacao::inicia(const std::string& antes, const std::string& depois) {
    m_andamento = std::make_shared<AndamentoDaComparacao>();
    m_relogio.start();
    m_trabalho.inicia(
        [antes, depois, andamento = m_andamento](std::stop_token parada) -> Resultado {
            OuRecusa<ResultadoDaComparacao> r = ComparaExportacoes(antes, depois, std::move(parada), andamento.get());
            if (!r) throw ComparacaoRecusada(r.recusa());
            return std::make_shared<const ResultadoDaComparacao>(std::move(*r));
        },
        [](const std::exception& e) { return QString::fromStdString(LinhasVisiveis(e.what())); });
}

void ControleDaComparacao::cancela() {
    m_relogio.stop();
    m_trabalho.larga();
}

}  // namespace zorla
