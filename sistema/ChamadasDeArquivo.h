#pragma once

#include <cstddef>

// The few file calls the run's files need, under the names each platform gives them: one seam for all.
namespace zorla::arquivo {

// A new file, never through a link and never over one already there; -1 and errno when not.
int criaNovo(const char* caminho, int modo);
long escreve(int fd, const char* dados, std::size_t n);
// All the bytes, again after a short or interrupted write: 0, or the error (ENOSPC when nothing more was taken);
// `escritos` says how far it got either way.
int escreveTudo(int fd, const char* dados, std::size_t n, std::size_t& escritos);
int corta(int fd, long long tamanho);
int sincroniza(int fd);
int fecha(int fd);
int processo();

}  // namespace zorla::arquivo
