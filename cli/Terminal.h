#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "base/Recusa.h"

namespace zorla {

class SinaisDeParada;

// Exit statuses beyond those of an export.
inline constexpr int kStatusArgumentos = 2;
// An export completed, with movements written without an account.
inline constexpr int kStatusPendencias = 3;
inline constexpr int kStatusAvisos = 3;
inline constexpr int kStatusErros = 4;

// What the command line prints, as its bytes are; whether it reached the output is asked once, at the end.
inline void Imprime(std::string_view parte) { std::fwrite(parte.data(), 1, parte.size(), stdout); }
// Whether the standard output's reader went away (a pipe to "head" that has read enough): what was not printed was
// not wanted, and the run's own status stands.
bool LeitorDaSaidaFoiEmbora();
// A refusal said on the error output, and its status: 2 for the request itself, 1 for what is around it.
int DizARecusa(const Recusa& recusa);

std::string MensagemTempoEsgotado(int segundos);
// When a cancel has not ended the work within the grace: every open output file cut back to its last whole line,
// the message (or that of the time limit) said, and the program ended with the cancel's exit status.
void DesisteCom(SinaisDeParada& sinais, int segundosDoLimite, std::string mensagem);

}  // namespace zorla
