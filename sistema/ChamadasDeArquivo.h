#pragma once

#include <cstddef>
#include <string>

// The few file calls the run's files need, under the names each platform gives them: one seam for all.
namespace zorla::arquivo {

// A new file, never through a link and never over one already there; -1 and errno when not. With a folder's
// descriptor, the name is within that folder (where the system has such descriptors; elsewhere -1 is given).
int criaNovo(const char* caminho, int modo);
int criaNovoNaPasta(int pasta, const char* nome, int modo);
// Whether something (a dangling link too) has that name in the folder; removes it.
bool existeNaPasta(int pasta, const char* nome);
int apagaNaPasta(int pasta, const char* nome);
// Device and inode of an open file, or of what a path names now; empty when not to be told.
std::string identidade(int fd);
std::string identidadeDoCaminho(const char* caminho);
long escreve(int fd, const char* dados, std::size_t n);
// All the bytes, again after a short or interrupted write: 0, or the error (ENOSPC when nothing more was taken);
// `escritos` says how far it got either way.
int escreveTudo(int fd, const char* dados, std::size_t n, std::size_t& escritos);
int corta(int fd, long long tamanho);
int sincroniza(int fd);
int fecha(int fd);
int processo();
// Whether a process of that number runs on this machine (a file it left behind is still its own).
bool processoVivo(int pid);
// Whether this user may write that existing file; errno says why not.
bool podeGravar(const std::string& caminho);

}  // namespace zorla::arquivo
