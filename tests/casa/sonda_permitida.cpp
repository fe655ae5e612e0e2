// A front end including the gate, as the arrows allow: the build must take it, so that the refusals above mean
// something.
#include "export/Sessao.h"
#include "sistema/SinaisDeParada.h"
