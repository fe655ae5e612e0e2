// A front end including the run's worker: the build must refuse it.
#include "export/ThProcessa.h"
