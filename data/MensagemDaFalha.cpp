#include "data/MensagemDaFalha.h"

#include <cstdlib>
#include <vector>

#ifndef _WIN32
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "base/TextoVisivel.h"
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

// The group a file or folder belongs to; empty when it cannot be told.
std::string grupoDe(const std::string& caminho) {
#ifndef _WIN32
    struct stat s {};
    group g{};
    group* achado = nullptr;
    std::vector<char> buffer(16384);
    if (::stat(caminho.c_str(), &s) == 0 && getgrgid_r(s.st_gid, &g, buffer.data(), buffer.size(), &achado) == 0 &&
        achado)
        return achado->gr_name;
#endif
    (void)caminho;
    return {};
}

// A group joined counts from the operator's next login.
std::string comoAdministrador(const std::string& comandos) {
    return "Como administrador: " + comandos + "; depois saia da sessão e entre de novo.";
}

std::string entraNoGrupo(const std::string& quem, const std::string& grupo) {
    return comoAdministrador("sudo adduser " + quem + " " + grupo);
}

std::string dicaDaPastaDeTravas() {
    const PastaDeTravas travas = PastaDeTravasDoFirebird();
    const std::string grupo = travas.grupo.empty() ? "firebird" : travas.grupo, quem = usuario();
    return "Para abrir um arquivo de banco neste computador, o usuário " + quem + " precisa pertencer ao grupo " +
           grupo + ", dono da pasta de travas do Firebird (" + travas.pasta + "). " + entraNoGrupo(quem, grupo);
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

// What the failure is about: the connection file to edit and the database it names.
struct Contexto {
    std::string conexao;
    std::string database;
};

// The group to give a file to: its own, unless that is root's, which no operator is to join.
std::string grupoParaOperadores(const std::string& arquivo) {
    const std::string grupo = grupoDe(arquivo);
    return grupo.empty() || grupo == "root" ? std::string() : grupo;
}

// How an administrator lets the operator at a file: into the file's group, or the file into the program's group.
std::string daAcesso(const std::string& arquivo, const std::string& quem, const char* permissao) {
    const std::string grupo = grupoParaOperadores(arquivo);
    const std::string chmod = "sudo chmod " + std::string(permissao) + " " + arquivo + " && ";
    if (grupo.empty())
        return comoAdministrador("sudo chgrp zorla-exporta " + arquivo + " && " + chmod + "sudo adduser " + quem +
                                 " zorla-exporta");
    return comoAdministrador(chmod + "sudo adduser " + quem + " " + grupo);
}

std::string semAcessoAConexao(const Contexto& c) {
    const std::string quem = usuario();
    return "O usuário " + quem + " não pode ler o arquivo de conexão " + c.conexao +
           ", que só o administrador e o grupo do arquivo leem (ele pode guardar uma senha). " +
           daAcesso(c.conexao, quem, "g+r");
}

std::string bancoSemGravacao(const Contexto& c) {
    const std::string quem = usuario();
    return "O Firebird embutido precisa ler e gravar o arquivo do banco " + c.database +
           ", mesmo só para consultar, e o usuário " + quem + " só pode lê-lo. " + daAcesso(c.database, quem, "g+rw") +
           " Ou, se um servidor Firebird roda neste computador, leia pelo servidor: Database=localhost:" + c.database +
           " no arquivo de conexão.";
}

std::string bancoComOServidor(const Contexto& c) {
    return "O arquivo do banco " + c.database +
           " está aberto pelo servidor Firebird deste computador (ou por outro programa com o Firebird embutido, como "
           "outra janela do ZORLA Exporta), e o Firebird embutido não o abre ao mesmo tempo. Leia-o pelo servidor: no "
           "arquivo de conexão " +
           c.conexao + ", escreva Database=localhost:" + c.database + " (ou localhost/3050:" + c.database + ").";
}

std::string oQueFazer(ConnectionFailure f, const Contexto& c) {
    switch (f) {
        case ConnectionFailure::ConnectionFile:
            return std::string(
                       "Crie ou corrija o arquivo de conexão: ele precisa da seção [EMPRESA] com a chave "
                       "Database (veja ") +
                   kManual + "); na linha de comando, --config indica outro arquivo.";
        case ConnectionFailure::ConnectionFileAccess:
            return semAcessoAConexao(c);
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
        case ConnectionFailure::DatabaseReadOnly:
            return bancoSemGravacao(c);
        case ConnectionFailure::HeldByServer:
            return bancoComOServidor(c);
        case ConnectionFailure::LockFolder:
            return dicaDaPastaDeTravas();
        case ConnectionFailure::FileSizeLimit:
            return "O limite de tamanho de arquivo desta sessão (ulimit -f) é menor do que o 1 MiB de que o Firebird "
                   "embutido precisa para os seus arquivos de travas. Aumente-o (ulimit -f unlimited) antes de "
                   "abrir o programa, ou leia o banco por um servidor Firebird (Database=localhost:" +
                   c.database + ").";
        case ConnectionFailure::Login:
            return "Corrija User_Name e Password no arquivo de conexão.";
        case ConnectionFailure::Other:
        case ConnectionFailure::None:
            break;
    }
    return "Corrija o arquivo de conexão, ou procure o suporte com o detalhe abaixo.";
}

// The name on the line after the server's "-Procedure unknown", "-Table unknown" or "-Column unknown".
std::string nomeApos(const std::string& texto, const std::string& linha) {
    const auto onde = texto.find("\n-" + linha + "\n-");
    if (onde == std::string::npos) return {};
    const auto inicio = onde + linha.size() + 4;
    return texto.substr(inicio, texto.find('\n', inicio) - inicio);
}

std::string oQueFazerNaConsulta(const std::string& texto) {
    const char* const faltas[][2] = {
        {"Procedure unknown", "o procedimento"}, {"Table unknown", "a tabela"}, {"Column unknown", "a coluna"}};
    for (const auto& [linha, oQue] : faltas)
        if (const std::string nome = nomeApos(texto, linha); !nome.empty())
            return std::string("O banco não tem ") + oQue + " " + nome +
                   ", que a exportação usa: ele não é um banco do ZORLA completo, ou é de outra versão. Confira o "
                   "Database do arquivo de conexão; se ele está certo, procure o suporte do ZORLA com o detalhe "
                   "abaixo.";
    if (texto.find("no permission for") != std::string::npos)
        return "O usuário do arquivo de conexão (User_Name) não tem permissão para o que a exportação lê: peça ao "
               "administrador do banco que a conceda (GRANT), ou use o usuário de sempre do ZORLA.";
    if (texto.find("string truncation") != std::string::npos || texto.find("overflow") != std::string::npos)
        return "Um dado do banco não cabe onde a consulta o põe (um texto longo demais ou um número grande demais): "
               "corrija-o no ZORLA, ou procure o suporte com o detalhe abaixo.";
    return "Tente de novo; se a falha se repetir, procure o suporte com o detalhe abaixo.";
}

}  // namespace

std::string MensagemDaFalhaDaConsulta(const std::exception& falha, const std::string& arquivoDeConexao) {
    const auto* db = dynamic_cast<const DbError*>(&falha);
    if (!db || db->connectionFailure() != ConnectionFailure::None || db->cancelada())
        return MensagemDaFalha(falha, arquivoDeConexao);
    const std::string texto = falha.what();
    return "A consulta ao banco de dados falhou.\nO que fazer: " + oQueFazerNaConsulta(texto) + "\nDetalhe: " + texto;
}

PastaDeTravas PastaDeTravasDoFirebird() {
    const char* lock = std::getenv("FIREBIRD_LOCK");
    PastaDeTravas t{lock && *lock ? lock : "/tmp/firebird", {}};
    t.grupo = grupoDe(t.pasta);
    return t;
}

std::string MensagemDaFalha(const std::exception& falha, const std::string& arquivoDeConexao) {
    const auto* db = dynamic_cast<const DbError*>(&falha);
    if (!db || db->connectionFailure() == ConnectionFailure::None) return falha.what();
    // The file the operator edits, not a link to it beside the program.
    // Both shown with their control characters by name: a line break in a path is not one of the message's.
    const Contexto contexto{Visivel(ArquivoDeConexaoAEditar(arquivoDeConexao)),
                            Visivel(DatabaseDaConexao(arquivoDeConexao))};
    std::string texto = "Não foi possível conectar ao banco de dados.\nArquivo de conexão: " + contexto.conexao + "\n";
    if (!contexto.database.empty()) texto += "Database: " + contexto.database + "\n";
    return texto + "O que fazer: " + oQueFazer(db->connectionFailure(), contexto) + "\nDetalhe: " + falha.what();
}

}  // namespace zorla
