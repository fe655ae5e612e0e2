#include "data/MensagemDaFalha.h"

#include <cstdlib>
#include <vector>

#ifndef _WIN32
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "data/BancoDaConexao.h"
#include "data/DbError.h"

namespace zorla {

namespace {

// The reentrant calls: batch lines build their messages on threads of their own.
std::string usuario() {
#ifndef _WIN32
    passwd p{};
    passwd* achado = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(geteuid(), &p, buffer.data(), buffer.size(), &achado) == 0 && achado) return achado->pw_name;
#endif
    const char* u = std::getenv("USER");
    return u ? u : "o usuário";
}

std::string dicaDaPastaDeTravas() {
    const PastaDeTravas travas = PastaDeTravasDoFirebird();
    const std::string grupo = travas.grupo.empty() ? "firebird" : travas.grupo, quem = usuario();
    return "Para abrir um arquivo de banco neste computador, o usuário " + quem + " precisa pertencer ao grupo " +
           grupo + ", dono da pasta de travas do Firebird (" + travas.pasta + "). Como administrador: sudo adduser " +
           quem + " " + grupo + "; depois saia da sessão e entre de novo.";
}

// Where the pieces of Firebird come from, and the manual, differ by system.
#ifdef _WIN32
constexpr const char* kManual = "o manual no menu Iniciar";
constexpr const char* kInstaleOCliente =
    "Instale o cliente do Firebird 3 (fbclient.dll, do instalador do Firebird para Windows 64 bits): ao lado do "
    "programa ou numa pasta do PATH.";
constexpr const char* kInstaleOEmbutido = "o Firebird 3 para Windows 64 bits (servidor ou embutido)";
#else
constexpr const char* kManual = "\"man zorla-exporta\"";
constexpr const char* kInstaleOCliente = "Instale a biblioteca cliente do Firebird (pacote libfbclient2).";
constexpr const char* kInstaleOEmbutido = "o Firebird embutido (pacote firebird3.0-server-core)";
#endif

std::string oQueFazer(ConnectionFailure f) {
    switch (f) {
        case ConnectionFailure::ConnectionFile:
            return std::string(
                       "Crie ou corrija o arquivo de conexão: ele precisa da seção [EMPRESA] com a chave "
                       "Database (veja ") +
                   kManual + "); na linha de comando, --config indica outro arquivo.";
        case ConnectionFailure::ClientLibrary:
            return kInstaleOCliente;
        case ConnectionFailure::Engine:
            return std::string("Para um arquivo de banco neste computador, instale ") + kInstaleOEmbutido +
                   "; para um servidor, escreva Database como servidor/porta:caminho.";
        case ConnectionFailure::Unreachable:
            return "Verifique se o servidor Firebird está ligado e se este computador o alcança nesse endereço e "
                   "porta (rede, firewall); ou corrija Database no arquivo de conexão.";
        case ConnectionFailure::DatabaseFile:
            return "Verifique se o arquivo do banco existe nesse caminho e se pode ser lido; ou corrija Database no "
                   "arquivo de conexão.";
        case ConnectionFailure::LockFolder:
            return dicaDaPastaDeTravas();
        case ConnectionFailure::Login:
            return "Corrija User_Name e Password no arquivo de conexão.";
        case ConnectionFailure::Other:
        case ConnectionFailure::None:
            break;
    }
    return "Corrija o arquivo de conexão, ou procure o suporte com o detalhe abaixo.";
}

}  // namespace

PastaDeTravas PastaDeTravasDoFirebird() {
    const char* lock = std::getenv("FIREBIRD_LOCK");
    PastaDeTravas t{lock && *lock ? lock : "/tmp/firebird", {}};
#ifndef _WIN32
    struct stat s {};
    group g{};
    group* achado = nullptr;
    std::vector<char> buffer(16384);
    if (::stat(t.pasta.c_str(), &s) == 0 && getgrgid_r(s.st_gid, &g, buffer.data(), buffer.size(), &achado) == 0 &&
        achado)
        t.grupo = achado->gr_name;
#endif
    return t;
}

std::string MensagemDaFalha(const std::exception& falha, const std::string& arquivoDeConexao) {
    const auto* db = dynamic_cast<const DbError*>(&falha);
    if (!db || db->connectionFailure() == ConnectionFailure::None) return falha.what();
    std::string texto = "Não foi possível conectar ao banco de dados.\nArquivo de conexão: " + arquivoDeConexao + "\n";
    if (const std::string database = DatabaseDaConexao(arquivoDeConexao); !database.empty())
        texto += "Database: " + database + "\n";
    return texto + "O que fazer: " + oQueFazer(db->connectionFailure()) + "\nDetalhe: " + falha.what();
}

}  // namespace zorla
