#pragma once

#include "app/CliArgs.h"

namespace zorla {

class SinaisDeParada;

// What the command line does, one function a mode, each returning the exit status. A signal or a time limit
// cancels through the signals given.
int Exporta(const CliArgs& args, SinaisDeParada& sinais);
int Verifica(const CliArgs& args, SinaisDeParada& sinais);
int ListaEmpresas(const CliArgs& args, SinaisDeParada& sinais);

// Exit statuses beyond those of an export.
inline constexpr int kSaidaArgumentos = 2;
inline constexpr int kSaidaAvisos = 3;
inline constexpr int kSaidaErros = 4;

std::string mensagemTempoEsgotado(int segundos);
// Writes a file whole, or says on the standard error that it could not.
bool gravaArquivo(const std::string& caminho, const std::string& bytes);

}  // namespace zorla
