#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Recusa.h"
#include "cli/Argumentos.h"

namespace zorla {

class SinaisDeParada;

// One export of a batch: a line "connection;company;code;folder" of the batch file.
struct ItemDoLote {
    int linha = 0;
    std::string conexao;  // the connection file
    std::int64_t empresa = 0;
    std::string codigo;  // code page 1252, as the records take it
    std::string pasta;   // as written (UTF-8)
};

// The lines of a batch file: ";"-separated, "#" comments and blank lines skipped, code page 1252 or UTF-8; paths
// relative to the file's folder. A bad line is refused, named; so is a file that is not a regular file of at most
// kTamanhoMaximoDoLote bytes.
inline constexpr std::size_t kTamanhoMaximoDoLote = std::size_t{1} << 20;
OuRecusa<std::vector<ItemDoLote>> LeLote(const std::string& arquivo);

// Two exports into one folder would write the same file names, the second over the first: refused, naming both
// lines. Folders are compared as the system knows them, not by their spelling.
OuRecusa<void> ExaminaPastasRepetidas(const std::vector<ItemDoLote>& itens);

// Runs the batch (its folders refused when repeated): up to args.tarefas exports at once, never two on one embedded
// database file; one overall progress line, then a table. Exit 0 when all completed, 1 when any failed, 128 + the
// signal when cancelled (those running cancelled, none started after). With --verificar, the check of each line
// instead, and the exit status of the check.
int ExecutaLote(const Argumentos& args, SinaisDeParada& sinais);

}  // namespace zorla
