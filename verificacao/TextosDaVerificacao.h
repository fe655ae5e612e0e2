#pragma once

#include <span>
#include <string>
#include <string_view>

#include "base/Escrita.h"
#include "verificacao/Verificacao.h"

namespace zorla {

// The check's problems as a table, in columns of their width (UTF-8), and as CSV (code page 1252).
void TabelaDaVerificacao(const ResultadoDaVerificacao& resultado, const Escrita& escreve);
void CsvDaVerificacao(const ResultadoDaVerificacao& resultado, const Escrita& escreve);
std::string TabelaDaVerificacao(const ResultadoDaVerificacao& resultado);
std::string CsvDaVerificacao(const ResultadoDaVerificacao& resultado);
// The CSV's title line and a problem's line, after the fields that come before them (a batch's line).
std::string LinhaCsvDaVerificacao(std::span<const std::string> antes, std::span<const std::string_view> campos);
std::string CabecalhoCsvDaVerificacao();
std::string LinhaCsvDoProblema(const Problema& problema);

}  // namespace zorla
