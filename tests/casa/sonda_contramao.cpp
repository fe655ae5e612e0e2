// The engine including the window, against the arrows: the build must refuse it.
#include "ui/Principal.h"
