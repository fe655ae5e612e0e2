#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "leiaute/TipoArquivo.h"

namespace zorla {

// Sums of amounts as the records hold them, in hundredths: the same integers the records are built from.
struct Somas {
    long documentos = 0;  // fiscal documents, or cash/bank movements
    std::int64_t valor = 0, baseIcms = 0, valorIcms = 0, baseIpi = 0, valorIpi = 0;
};

// A file against the one of its period and company it replaced: records changed, removed and new.
struct DiferencaDoAnterior {
    long alterados = 0, removidos = 0, novos = 0;
};

// A file of a run, as written or as read back: its lines and its totals.
struct ArquivoGravado {
    TipoArquivo tipo = TipoArquivo::LivroSaidas;
    std::string caminho;
    long linhas = 0;           // whole lines in the file
    bool completo = false;     // closed with every line on the disk
    bool substituido = false;  // it replaced a file of the same name
    std::optional<DiferencaDoAnterior>
        diferenca;  // when it replaced this period's and company's, and was written whole
    Somas somas;
    // The fiscal books' sums per TIPO (code page 1252, empty for none), in the order of their first record.
    std::vector<std::pair<std::string, Somas>> porTipo;
};

// The amounts a kind of file holds, with their names: every file its VALOR; the books their ICMS; the sales book its
// IPI as well.
inline std::vector<std::pair<const char*, std::int64_t>> MontantesDoArquivo(TipoArquivo tipo, const Somas& s) {
    if (!LivroFiscal(tipo)) return {{"VALOR", s.valor}};
    std::vector<std::pair<const char*, std::int64_t>> m = {
        {"VALOR", s.valor}, {"BASEICMS", s.baseIcms}, {"VALORICMS", s.valorIcms}};
    if (tipo == TipoArquivo::LivroSaidas) m.insert(m.end(), {{"BASEIPI", s.baseIpi}, {"VALORIPI", s.valorIpi}});
    return m;
}

}  // namespace zorla
