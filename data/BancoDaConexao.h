#pragma once

#include <string>
#include <string_view>

namespace zorla {

// Whether a connection's Database names a server's database ("host:path", "host/port:path", "inet://host/path"),
// which many exports may read at once, rather than a file the embedded engine opens.
bool BancoDeServidor(std::string_view database);
// The connection file the operator edits: a link to it (beside an installed program) followed to its end.
std::string ArquivoDeConexaoAEditar(const std::string& conexao);
// The Database of a connection file as written; empty when the file or the key cannot be read.
std::string DatabaseDaConexao(const std::string& conexao);
// The file on this machine that a connection's database is: an embedded connection's, or that of a server on this
// machine (localhost, 127.0.0.1, ::1); empty otherwise. What a side file must never be written over.
std::string ArquivoDoBancoNesteComputador(const std::string& conexao);
// The database file an embedded connection of that connection file opens; empty for a server's.
std::string BancoEmbutido(const std::string& conexao);

}  // namespace zorla
