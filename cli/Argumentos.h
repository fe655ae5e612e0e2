#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "base/Recusa.h"

namespace zorla {

struct Argumentos {
    enum class Modo { Exportar, Verificar, ListarEmpresas, Lote, Conferir, Comparar };
    Modo modo = Modo::Exportar;
    std::int64_t empresa = 0;
    std::string codigo;  // code page 1252, as it goes into the records
    int mes = 0;
    int ano = 0;
    int diaInicial = 1;
    int diaFinal = 0;  // the month's last day unless given
    std::string saida;
    std::optional<std::string> config;
    std::optional<int> tempoLimite;                // seconds
    bool csv = false;                              // the check's table as CSV
    std::optional<std::string> resumo;             // where the totals go as CSV
    bool substituir = false;                       // another export's files under the run's names are replaced
    std::string lote;                              // the batch file
    bool verificar = false;                        // a batch of checks rather than exports
    int tarefas = 0;                               // exports at once in a batch
    std::string conferir;                          // an exported file or the folder of one export, read back
    std::optional<long> linha;                     // with conferir: the line to show field by field
    std::pair<std::string, std::string> comparar;  // two exports of a period, before and after
};

// What --help and --version ask for: a text to print, and nothing to do.
struct TextoAImprimir {
    std::string texto;
};

// The company code as the records take it: code page 1252 bytes. Refused (std::invalid_argument) when it is not
// UTF-8, holds a character code page 1252 lacks or a control character, is empty or longer than the records' 4.
std::string CodigoParaOsRegistros(const std::string& digitado);

// The options given, or what they ask to print; refused, with a Portuguese text for the operator, when they are not
// valid.
OuRecusa<std::variant<Argumentos, TextoAImprimir>> LeArgumentos(const std::vector<std::string>& args,
                                                                const std::string& versao);
const char* UsoDoPrograma();

}  // namespace zorla
