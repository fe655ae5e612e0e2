#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <stop_token>
#include <string>
#include <vector>

#include "base/ArquivoParaLer.h"
#include "base/Recusa.h"
#include "leiaute/ArquivoGravado.h"

namespace zorla {

// A field of a record that is not what it was, as a person reads it (UTF-8).
struct CampoAlterado {
    std::string rotulo, antes, depois;
};

// A record of one export that the other does not hold as it is.
struct Mudanca {
    enum class Tipo { Alterado, Removido, Novo };
    Tipo tipo = Tipo::Alterado;
    std::string registro;                  // its identity, as a person reads it
    long linhaAntes = 0, linhaDepois = 0;  // its first line on each side; 0 where it is not
    std::uint64_t inicioAntes = 0, inicioDepois = 0;
    std::vector<CampoAlterado> campos;  // of a record changed
};

// One kind of file compared: its records counted and each difference, in the order of the files; both sides'
// totals as the reader reads them. A file one side lacks counts as empty.
struct ArquivoComparado {
    TipoArquivo tipo = TipoArquivo::LivroSaidas;
    std::string nome;                                     // the file's name, as the export names it
    std::shared_ptr<const ArquivoParaLer> antes, depois;  // as read; none where the side lacks it
    ArquivoGravado totaisAntes, totaisDepois;
    std::size_t iguais = 0, alterados = 0, removidos = 0, novos = 0;
    std::vector<Mudanca> mudancas;

    bool igual() const { return alterados == 0 && removidos == 0 && novos == 0; }
};

struct ResultadoDaComparacao {
    std::string antes, depois;  // the paths compared, as given
    std::vector<ArquivoComparado> arquivos;
    bool iguais() const;
};

// How far a comparison has read: for a gauge.
struct AndamentoDaComparacao {
    std::atomic<std::uint64_t> lidos{0}, total{0};  // bytes
};

// Two exports of one period compared, each a folder holding it or one exported file (both of one kind). Refused,
// before anything is compared, when a side names no export, the two are not alike (a folder and a file, two kinds
// of file), they are of different periods or companies, or a file on either side is damaged: the refusal's detail
// then lists its problems as the reader does. Reads each file once, checking it whole and taking its records'
// identities as the lines go by; the lines of what changed are read again. Throws std::runtime_error for a file
// that cannot be read, and when stopped.
OuRecusa<ResultadoDaComparacao> ComparaExportacoes(const std::string& antes, const std::string& depois,
                                                   std::stop_token parada = {},
                                                   AndamentoDaComparacao* andamento = nullptr);

// How a record's change is called: "alterado", "removido", "novo".
const char* NomeDaMudanca(Mudanca::Tipo tipo);

// A record's lines as the file holds them now (a movement's second line empty when it has none): for showing the
// two versions of a record side by side.
std::pair<std::string, std::string> LeRegistro(const ArquivoParaLer& arquivo, TipoArquivo tipo, std::uint64_t inicio);

}  // namespace zorla
