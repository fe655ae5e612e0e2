#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "app/CliArgs.h"
#include "export/Sessao.h"

namespace zorla {

class SinaisDeParada;

// What the command line does, one function a mode, each returning the exit status. A signal or a time limit
// cancels through the signals given.
int Exporta(const CliArgs& args, SinaisDeParada& sinais);
int Verifica(const CliArgs& args, SinaisDeParada& sinais);
int ListaEmpresas(const CliArgs& args, SinaisDeParada& sinais);

// Exit statuses beyond those of an export.
inline constexpr int kSaidaArgumentos = 2;
// An export completed, with movements written without an account.
inline constexpr int kSaidaPendencias = 3;
inline constexpr int kSaidaAvisos = 3;
inline constexpr int kSaidaErros = 4;

std::string mensagemTempoEsgotado(int segundos);
// What the command line prints, as its bytes are; whether it reached the output is asked once, at the end.
inline void EscreveNaSaida(std::string_view parte) { std::fwrite(parte.data(), 1, parte.size(), stdout); }
// The companies under a header, in aligned columns, the CNPJ as people write it.
std::string TabelaDasEmpresas(const std::vector<Empresa>& empresas);
// Writes a side file whole (a temporary name renamed over it), or says on the standard error that it could not.
bool gravaArquivo(const std::string& caminho, const std::string& bytes);
// When a cancel has not ended the work within the grace: every open output file cut back to its last whole line,
// the message (or that of the time limit) said, and the program ended with the cancel's exit status.
void DesisteCom(SinaisDeParada& sinais, int segundosDoLimite, std::string mensagem);

}  // namespace zorla
