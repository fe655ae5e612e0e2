#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "base/Periodo.h"

namespace zorla {

// What an operator asks of a run, as the window or the command line took it: where it writes, which period and
// company, with which code.
struct PedidoDeExportacao {
    PedidoDeExportacao(std::string pasta, Periodo periodo, std::int64_t empresa, std::string codigoEmpresa)
        : pasta(std::move(pasta)),
          periodo(std::move(periodo)),
          empresa(empresa),
          codigoEmpresa(std::move(codigoEmpresa)) {}

    std::string pasta;  // as typed (UTF-8)
    Periodo periodo;
    std::int64_t empresa = 0;
    std::string codigoEmpresa;  // code page 1252, as every record takes it
    bool criaPasta = true;      // a folder that does not exist is created; the window asks first
    // Files of another export, or none, under the run's names are replaced; the window asks first, the command line
    // needs --substituir.
    bool substitui = false;
    // The totals' CSV, which may be none of the files the run reads or writes.
    std::optional<std::string> arquivoDosTotais;
};

// What a run of that request takes when it starts, the folder's files aside.
struct ParametrosDaExecucao;
ParametrosDaExecucao ParametrosDoPedido(const PedidoDeExportacao& pedido);

// The folder as "Continuar" takes it: blanks around it dropped, the path delimiter added when missing.
std::string DiretorioDe(const std::string& pastaDigitada);

// "Aviso: o código '…' tem mais de 4 caracteres; os arquivos levam '…'." when the typed code (UTF-8) is cut in
// the records; nothing when it fits.
std::optional<std::string> AvisoDeCodigoCortado(const std::string& digitado);

}  // namespace zorla
