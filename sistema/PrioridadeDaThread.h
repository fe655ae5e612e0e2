#pragma once

namespace zorla {

// Lowers the calling thread's priority a little, so that the window and the rest of the machine stay responsive
// while a run writes; only that thread, never the process.
void BaixaPrioridadeDaThread();

}  // namespace zorla
