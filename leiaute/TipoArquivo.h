#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zorla {

// The files of a run, in the order they are written.
enum class TipoArquivo { LivroSaidas, LivroEntradas, Recebimentos, Pagamentos, DespesasGerais };

inline constexpr TipoArquivo kTiposDeArquivo[] = {TipoArquivo::LivroSaidas, TipoArquivo::LivroEntradas,
                                                  TipoArquivo::Recebimentos, TipoArquivo::Pagamentos,
                                                  TipoArquivo::DespesasGerais};

// The sales and purchases books, one record a document; the others are entry files of cash/bank movements.
inline bool LivroFiscal(TipoArquivo t) { return t == TipoArquivo::LivroSaidas || t == TipoArquivo::LivroEntradas; }

// Where a run writes each of its files: the folder (ending with its delimiter) and the period's base name.
std::string CaminhoDoArquivo(TipoArquivo tipo, const std::string& diretorio, const std::string& nomeArquivo);
// The file's name in its folder: "01A31MAR.SAI", "ctr01A31MAR.txt".
std::string NomeDoArquivoDoTipo(TipoArquivo tipo, const std::string& nomeArquivo);
// "SAI", "ENT", "ctr", "pag", "fca": a file's column in a table of counts.
const char* SiglaDoArquivo(TipoArquivo tipo);
// The kind of an exported file by its name (".SAI", ".ENT", "ctr….txt", "pag….txt", "fca….txt"); nothing for any
// other name.
std::optional<TipoArquivo> TipoPeloNome(std::string_view nome);
// The period's name a file of that kind carries: "01A31MAR" in "01A31MAR.SAI" and in "ctr01A31MAR.txt".
std::string BaseDoNome(std::string_view nome, TipoArquivo tipo);
// The pattern a file chooser offers for exported files.
inline const char* const kFiltroDosExportados = "*.SAI *.ENT ctr*.txt pag*.txt fca*.txt";

}  // namespace zorla
