#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Value.h"
#include "leiaute/ArquivoGravado.h"

namespace zorla {

// The stages of a run, in order; the cash/bank phase is one stage over the three entry files.
enum class Etapa { LivroSaidas, LivroEntradas, MovimentoBancario };

enum class Desfecho { Concluido, Cancelado, Falhou };

// A cash/bank movement written with a blank account: the file is imported all the same, so the run says which.
struct Pendencia {
    std::optional<Date> data;
    std::string documento;  // code page 1252, as in the database
    std::int64_t centavos = 0;
    std::string parte;  // the party whose account is missing, code page 1252
};

struct ResultadoDaExportacao {
    Desfecho desfecho = Desfecho::Concluido;
    std::string erro;  // every failure of the run, a line (CR) each
    std::vector<ArquivoGravado> arquivos;
    // Files of an earlier run of the same name, removed as this one did not write them again.
    std::vector<std::string> apagados;
    // Movements written without an account, in the order written.
    std::vector<Pendencia> semConta;
};

// Something the operator must read and confirm before the run goes on.
struct Aviso {
    enum class Tipo { SemContaContabil };
    Tipo tipo;
    std::string texto;  // UTF-8; a line break is CR LF
};

inline constexpr int kRegistrosDesconhecidos = -1;

// What a run reports while it works: what happens, not how to draw it. Every call comes from the run's worker
// thread, in the order of the run. A front end draws what it wants of them; by default an event is not drawn.
class EventosDaExportacao {
public:
    virtual ~EventosDaExportacao() = default;

    // `registros` is kRegistrosDesconhecidos when the stage writes its rows as they arrive.
    virtual void etapaIniciada(Etapa /*etapa*/, int /*registros*/) {}
    // Counted from 1 within the stage; the movement is the fiscal row's CODMOVESTOQUE (code page 1252), empty in
    // the cash/bank stage. The view is valid during the call only.
    virtual void registroFeito(int /*numero*/, std::string_view /*movimento*/) {}
    virtual void arquivoIniciado(TipoArquivo /*tipo*/, const std::string& /*caminho*/) {}
    // Returns once the operator has confirmed it.
    virtual void aviso(const Aviso& /*aviso*/) {}
    // The run saw the operator's cancel and stops writing the fiscal books.
    virtual void cancelado() {}
    // The run's last act.
    virtual void terminou(const ResultadoDaExportacao& /*resultado*/) {}
};

// Texts of the run, the same in the window and the terminal; a line break is a single CR.
inline const char* const kGerandoArquivo = "Gerando arquivo...";
// What the cash/bank stage is doing while it writes an entry file; empty for the fiscal books.
const char* TextoDoPasso(TipoArquivo tipo);
std::string MensagemDeFalha(const std::string& erro);
std::string MensagemConcluida(const std::string& pasta);
inline const char* const kMensagemCancelada = "Exportação cancelada!";

}  // namespace zorla
