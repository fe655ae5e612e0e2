#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/ArquivoParaLer.h"
#include "base/Value.h"
#include "leiaute/ArquivoGravado.h"
#include "leiaute/Leiaute.h"

namespace zorla {

// No export writes a file this large; a larger one is not read.
inline constexpr std::uint64_t kTamanhoMaximoDoExportado = std::uint64_t{64} << 30;

struct ProblemaNaLinha {
    long linha = 0;                   // from 1
    std::string campo;                // the layout's field, or "linha" for the line as a whole
    std::size_t inicio = 0, fim = 0;  // the field's positions, from 1; 0 for the line as a whole
    std::string valor;                // UTF-8, control characters shown by name
    std::string problema;
};

// An exported file read back: its totals as the export counts them, and what in it the layout does not allow.
struct ConferenciaDoArquivo {
    ArquivoGravado totais;                   // kind, path, lines, sums, sums per TIPO
    std::vector<ProblemaNaLinha> problemas;  // the first kMaximoDeProblemas, in line order
    long totalDeProblemas = 0;
    static constexpr std::size_t kMaximoDeProblemas = 1000;
    // What the records say of their export: the first and the last date of the movements (a book's DATAMOVIMENTO,
    // an entry's DATA), none when no record has one; the company codes the books' records carry (code page 1252,
    // the blanks after them dropped), the first kMaximoDeEmpresas.
    std::optional<Date> primeiraData, ultimaData;
    std::vector<std::string> empresas;
    static constexpr std::size_t kMaximoDeEmpresas = 4;
};

// The exported files a path names: the file itself, or those of one export in a folder, in the export's order; with
// `todosOsPeriodos`, those of every period in the folder, a period after another. A path that names none, or (without
// it) a folder of more than one period, is refused (std::invalid_argument, in Portuguese).
std::vector<std::pair<std::string, TipoArquivo>> ArquivosExportados(const std::string& caminho,
                                                                    bool todosOsPeriodos = false);

// Of each period whose files a folder holds, what an export always writes and the folder lacks: the sales book and
// the three cash/bank files, each named with what stands in its place when something does ("01A31MAR.SAI, que é
// uma pasta"); and, apart, the purchases books not there, which an export removes when a period has no purchases.
struct FaltasNaPasta {
    std::vector<std::string> faltam, semCompras;  // file names, UTF-8, control characters shown by name
};
FaltasNaPasta FaltasDaExportacao(const std::string& pasta,
                                 const std::vector<std::pair<std::string, TipoArquivo>>& arquivos);
// Reads a file a block at a time and checks every line against its layout. Fails (std::runtime_error, in
// Portuguese) only when the file cannot be read.
// With `inicios`, where each line starts in the file, and the file's end after the last: an index to read any line.
ConferenciaDoArquivo ConfereArquivo(const std::string& caminho, TipoArquivo tipo,
                                    std::vector<std::uint64_t>* inicios = nullptr);
// One open file read back as ConfereArquivo reads it, in one part, each line also handed to `aCadaLinha` as it goes
// by (its number from 1, without its line end, where it starts): one reading for both.
ConferenciaDoArquivo ConfereVendoAsLinhas(const ArquivoParaLer& arquivo, TipoArquivo tipo,
                                          const std::function<void(long, std::string_view, std::uint64_t)>& aCadaLinha);
// Several files at once, as many parts read at a time as there are cores; in the order given.
std::vector<ConferenciaDoArquivo> ConfereArquivos(const std::vector<std::pair<std::string, TipoArquivo>>& arquivos,
                                                  std::vector<std::vector<std::uint64_t>>* inicios = nullptr);

// A file read back for a window to show: what was found, and where each line starts.
struct ArquivoConferido {
    ConferenciaDoArquivo conferencia;
    std::vector<std::uint64_t> inicios;  // and the file's end after the last
    // The file as it was read, still open: what is shown is what was checked, whatever becomes of its name.
    std::shared_ptr<const ArquivoParaLer> arquivo;
};
// Every exported file the paths name (a file, or every period of a folder), each once, read back
// (std::invalid_argument for a path that names none).
std::vector<ArquivoConferido> ConfereParaMostrar(const std::vector<std::string>& caminhos);
// Those files read back, each kept open as it was read; with where each line starts only when asked.
std::vector<ArquivoConferido> ConfereMantendoAbertos(const std::vector<std::pair<std::string, TipoArquivo>>& arquivos,
                                                     bool comInicios);

// The hundredths an amount field holds; nothing when it is not a number as the layout writes them.
std::optional<std::int64_t> CentavosDoCampo(const CampoDoLeiaute& campo, std::string_view texto);

// Each line of a file, numbered from 1, without its line end, until the callback returns false.
void LeLinhas(const std::string& caminho, const std::function<bool(long, std::string_view)>& linha);
void LeLinhas(const ArquivoParaLer& arquivo, const std::function<bool(long, std::string_view)>& linha);

}  // namespace zorla
