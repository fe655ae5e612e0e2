// Firebird's own header outside data/: the build must refuse it.
#include <firebird/Interface.h>
